#pragma once
// A main window on the offscreen platform with scripted answers, a shell that
// records addresses, a settings file in a temporary folder (named through
// PIXORAN3_INI, as the program finds it) and a program folder holding the
// tips file and the help pages.
#include "app/MainWindow.h"
#include "document/ImageWindow.h"
#include "document/Session.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsFile.h"
#include "platform/ShellServices.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace px::test {

class RecordingShell : public ShellServices {
public:
    bool openUrl(const std::string& url) override
    {
        urls.push_back(url);
        return true;
    }
    bool moveToTrash(const std::string&, std::string*) override { return false; }
    std::vector<std::string> urls;
};

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.path() / "aide");
        std::ofstream(dir.file("aide") / "index.html") << "<html></html>\n";
        writeTips({"Astuce zéro", "Astuce un", "Astuce deux", "Astuce trois"});
    }
    void TearDown() override
    {
        window.reset();
        unsetenv("PIXORAN3_INI");
    }

    std::string ini() const { return (dir.path() / "Pixoran3.ini").string(); }

    void writeTips(const std::vector<std::string>& tips)
    {
        std::ofstream out(dir.file("astuces.txt"));
        for (const auto& t : tips)
            out << t << '\n';
    }

    // Builds the window; every modal dialog is recorded instead of shown.
    MainWindow& create(QString startupFile = {})
    {
        MainWindowOptions options;
        options.programDir = QString::fromStdString(dir.path().string());
        options.startupFile = startupFile;
        window = std::make_unique<MainWindow>(session, settings, options);
        window->runModal = [this](QDialog& d) {
            shownDialogs.push_back(d.objectName().toStdString());
            return int(QDialog::Rejected);
        };
        return *window;
    }

    // Shows the window and lets the queued start-up steps run.
    void show()
    {
        window->show();
        QCoreApplication::processEvents();
    }

    // An image window of a small bitmap, captioned and labelled as opened from `path`.
    ImageWindow* addImage(const QString& caption = QStringLiteral("Image"), const QString& path = {})
    {
        auto* w = new ImageWindow(session);
        w->setDocument(fromAscii({"#.", ".#"}));
        w->setWindowTitle(caption);
        w->setFilePath(path.isEmpty() ? caption : path);
        window->addImageWindow(w);
        QCoreApplication::processEvents();
        return w;
    }

    int openWindows() const { return int(window->mdiArea()->subWindowList().size()); }

    // Deferred deletions of closed sub-windows happen now.
    static void flush()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    bool nameIni()
    {
        setenv("PIXORAN3_INI", ini().c_str(), 1);
        return true;
    }

    TempDir dir;
    bool iniNamed = nameIni(); // before `settings` looks for its file
    ScriptedPrompter prompter;
    RecordingShell shell;
    Session session{prompter, shell};
    SettingsFile settings{SettingsFile::defaultPath()};
    std::unique_ptr<MainWindow> window;
    std::vector<std::string> shownDialogs;
};

} // namespace px::test
