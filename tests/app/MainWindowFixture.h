#pragma once
// A main window on the offscreen platform with scripted answers, a shell that
// records addresses, a settings file in a temporary folder (named through
// PIXORAN3_INI, as the program finds it) and a program folder holding the
// tips file and the help pages; short-hands for commands, dialogs and the
// undo histories.
#include "app/MainWindow.h"
#include "document/ImageWindow.h"
#include "document/Session.h"
#include "effects/EffectTestHelpers.h"
#include "platform/MemoryClipboard.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsFile.h"
#include "platform/ShellServices.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace px::test {

using Kind = ScriptedPrompter::CallKind;

class RecordingShell : public ShellServices {
public:
    bool openUrl(const std::string& url) override
    {
        urls.push_back(url);
        return true;
    }
    // Records the file; fails with `trashError` when it is set.
    bool moveToTrash(const std::string& path, std::string* error) override
    {
        trashed.push_back(path);
        if (trashError.empty())
            return true;
        *error = trashError;
        return false;
    }
    std::vector<std::string> urls;
    std::vector<std::string> trashed;
    std::string trashError;
};

inline Bitmap uniformBitmap(int width, int height, Colour colour)
{
    Bitmap b(width, height, 24);
    b.fill(colour);
    return b;
}

// A mouse event at `at` in `w`'s coordinates, sent straight to it.
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.path() / "aide");
        std::ofstream(dir.file("aide") / "index.html") << "<html></html>\n";
        std::ofstream(dir.file("astuces.txt")) << "Astuce zéro\nAstuce un\nAstuce deux\nAstuce trois\n";
    }
    void TearDown() override
    {
        window.reset();
        unsetenv("PIXORAN3_INI");
    }

    std::string ini() const { return (dir.path() / "Pixoran3.ini").string(); }
    static QString q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

    // Builds the window; every modal dialog is recorded instead of shown.
    MainWindow& create(QString startupFile = {})
    {
        MainWindowOptions options;
        options.programDir = q(dir.path());
        if (!startupFile.isEmpty())
            options.startupFiles = {startupFile};
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

    // A window on `document`, created (so the histories are empty) and active.
    ImageWindow* open(Bitmap document)
    {
        if (!window)
            create();
        auto* w = new ImageWindow(session);
        w->setDocument(std::move(document));
        window->addImageWindow(w);
        QCoreApplication::processEvents();
        return w;
    }

    int openWindows() const { return int(window->mdiArea()->subWindowList().size()); }
    std::size_t messages() const { return prompter.callsOf(Kind::Message).size(); }
    void trigger(const char* name) { window->action(name)->trigger(); }
    bool enabled(const char* name) const { return window->action(name)->isEnabled(); }
    int undoSteps() const { return session.history.undoHistory().count(); }
    int redoSteps() const { return session.history.redoHistory().count(); }

    // The next modal dialog is handled by `script`, which returns its result.
    void onDialog(std::function<int(QDialog&)> script) { window->runModal = std::move(script); }

    static void click(QDialog& dialog, const char* button)
    {
        auto* b = dialog.findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    // A dialog script that runs `step` (when given), then presses `button`
    // ("Button1" is OK, "Button2" Annuler).
    static std::function<int(QDialog&)> pressing(const char* button, std::function<void(QDialog&)> step = {})
    {
        return [button, step = std::move(step)](QDialog& d) {
            if (step)
                step(d);
            click(d, button);
            return d.result();
        };
    }

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
    MemoryClipboard clipboard;
    Session session{prompter, shell, clipboard};
    SettingsFile settings{SettingsFile::defaultPath()};
    std::unique_ptr<MainWindow> window;
    std::vector<std::string> shownDialogs;
};

} // namespace px::test
