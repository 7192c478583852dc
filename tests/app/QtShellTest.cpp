#include "platform/qt/QtShell.h"
#include "platform/ScriptedPrompter.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QObject>
#include <QUrl>
#include <vector>

namespace px {
namespace {

namespace fs = std::filesystem;

// A stand-in for the desktop's launcher: appends its argument to a file of
// the folder, then exits with `status`.
QString launcher(const test::TempDir& dir, int status)
{
    const fs::path script = dir.file("launcher.sh");
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << dir.file("launched.txt").string() << "'\nexit "
                          << status << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return QString::fromStdString(script.string());
}

std::vector<std::string> lines(const fs::path& file)
{
    std::vector<std::string> result;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Processes events until `done` holds or five seconds pass.
bool waitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(QtShell, HandsWellFormedAddressesToTheLauncher)
{
    test::TempDir dir;
    ScriptedPrompter prompter;
    QtShell shell(&prompter);
    shell.setLauncher(launcher(dir, 0));
    EXPECT_TRUE(shell.openUrl("https://exemple.fr/pixoran3?page=1"));
    EXPECT_TRUE(shell.openUrl("mailto:auteur@exemple.fr"));
    EXPECT_TRUE(shell.openUrl("/tmp/pxrn3.html"));
    EXPECT_FALSE(shell.openUrl(""));
    EXPECT_FALSE(shell.openUrl("http://[mal formée"));
    ASSERT_TRUE(waitFor([&] { return lines(dir.file("launched.txt")).size() == 3; }));
    auto launched = lines(dir.file("launched.txt"));
    std::sort(launched.begin(), launched.end()); // the three run side by side
    EXPECT_EQ(launched, (std::vector<std::string>{"file:///tmp/pxrn3.html", "https://exemple.fr/pixoran3?page=1",
                                                  "mailto:auteur@exemple.fr"}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.calls().empty());
}

// Without a browser the launcher fails (xdg-open exits with 3 or 4) or is
// missing altogether: the user is told, with the address.
struct FailureCase {
    const char* name;
    int status;          // of the stand-in; -1: no launcher at all
    const char* address; // given
    const char* shown;   // in the message
};

class QtShellFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(QtShellFailure, IsToldInAMessageBox)
{
    const FailureCase& c = GetParam();
    test::TempDir dir;
    ScriptedPrompter prompter;
    QtShell shell(&prompter);
    shell.setLauncher(c.status < 0 ? QString::fromStdString(dir.file("absent").string()) : launcher(dir, c.status));
    EXPECT_EQ(shell.openUrl(c.address), c.status >= 0);
    ASSERT_TRUE(waitFor([&] { return !prompter.calls().empty(); })) << "nothing was said";
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{std::string("Impossible d'ouvrir ") + c.shown});
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtShellFailure,
    ::testing::Values(FailureCase{"NoBrowser", 3, "https://www.pixoran3.example/", "https://www.pixoran3.example/"},
                      FailureCase{"ActionFailed", 4, "mailto:contact@pixoran3.example?subject=Pixoran3",
                                  "mailto:contact@pixoran3.example?subject=Pixoran3"},
                      FailureCase{"HelpPage", 3, "file:///usr/share/pixoran3/aide/index.html",
                                  "/usr/share/pixoran3/aide/index.html"},
                      FailureCase{"NoLauncher", -1, "https://www.pixoran3.example/", "https://www.pixoran3.example/"}),
    [](const auto& info) { return std::string(info.param.name); });

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
