#pragma once
// The desktop services of the running program: addresses go to the desktop's
// default program, deleted files to the freedesktop trash of the user.
#include "platform/ShellServices.h"

#include <QObject>
#include <QString>

#include <memory>

namespace px {

class Prompter;

class QtShell : public ShellServices {
public:
    // Failures to open an address are told to the user through `prompter`
    // (none: not told).
    explicit QtShell(Prompter* prompter = nullptr);
    ~QtShell() override;

    // Accepts http(s):, mailto:, file: and other URLs with a scheme, and
    // local paths (made absolute), and hands the address to the desktop's
    // launcher (xdg-open). Returns false for an address that is not
    // well-formed and for a launcher that cannot be started. The launcher
    // may keep running as long as the program it started (a browser), so
    // its answer comes later: when it ends with a failure (no browser, no
    // mail program), the user is told "Impossible d'ouvrir" and the address
    // in a message box.
    bool openUrl(const std::string& url) override;

    // The launcher program (tests put a stand-in in its place).
    void setLauncher(const QString& program) { launcher_ = program; }

    // Moves the file to the user's trash. The data folder holding the trash
    // is created first when missing; a move that did not land in that trash
    // is undone and reported as a failure. *error receives a French message.
    bool moveToTrash(const std::string& path, std::string* error) override;

private:
    void reportOpenFailure(const std::string& address);

    Prompter* prompter_ = nullptr;
    QString launcher_ = QStringLiteral("xdg-open");
    // Owns the running launchers and their connections, which end with the
    // shell (a launcher still running then is stopped; what it started
    // goes on).
    std::unique_ptr<QObject> launchers_;
};

} // namespace px
