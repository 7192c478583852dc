#include "platform/qt/QtShell.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <QDesktopServices>
#include <QDir>
#include <QObject>
#include <QUrl>

namespace px {
namespace {

namespace fs = std::filesystem;

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST(QtShell, OpenUrlReachesTheDesktopHandler)
{
    UrlCatcher catcher;
    for (const char* scheme : {"https", "mailto", "file"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    QtShell shell;
    EXPECT_TRUE(shell.openUrl("https://exemple.fr/pixoran3?page=1"));
    EXPECT_TRUE(shell.openUrl("mailto:auteur@exemple.fr"));
    EXPECT_TRUE(shell.openUrl("/tmp/pxrn3.html"));
    EXPECT_FALSE(shell.openUrl(""));
    EXPECT_FALSE(shell.openUrl("http://[mal formée"));
    for (const char* scheme : {"https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl("https://exemple.fr/pixoran3?page=1"), QUrl("mailto:auteur@exemple.fr"),
                                         QUrl::fromLocalFile("/tmp/pxrn3.html")}));
}

class DataHome {
public:
    explicit DataHome(const fs::path& p)
    {
        if (const char* v = std::getenv("XDG_DATA_HOME"))
            saved_ = v;
        setenv("XDG_DATA_HOME", p.c_str(), 1);
    }
    ~DataHome() { saved_ ? setenv("XDG_DATA_HOME", saved_->c_str(), 1) : unsetenv("XDG_DATA_HOME"); }

private:
    std::optional<std::string> saved_;
};

TEST(QtShell, MoveToTrashCreatesTheMissingDataFolder)
{
    test::TempDir dir;
    const DataHome home(dir.path() / "data"); // does not exist yet
    const fs::path victim = dir.file("chat.bmp");
    std::ofstream(victim) << "BM";
    const fs::path cwd = fs::current_path();
    fs::create_directory(dir.file("work"));
    fs::current_path(dir.file("work"));

    QtShell shell;
    std::string error;
    const bool ok = shell.moveToTrash(victim.string(), &error);
    fs::current_path(cwd);
    EXPECT_TRUE(ok) << error;
    EXPECT_FALSE(fs::exists(victim));
    EXPECT_TRUE(fs::exists(dir.path() / "data" / "Trash" / "files" / "chat.bmp"));
    EXPECT_TRUE(fs::is_empty(dir.file("work"))); // nothing in a stray ./files

    EXPECT_FALSE(shell.moveToTrash(victim.string(), &error));
    EXPECT_EQ(error, "Le fichier " + victim.string() + " n'existe pas.");
}

} // namespace
} // namespace px

#include "QtShellTest.moc"
