// The recent files of the "&Fichier" menu: the list follows every opening
// and saving, and each of its items opens its file again.
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "app/ShellCommands.h"
#include "platform/Prompter.h"

#include <QFileInfo>

namespace px {

namespace {
constexpr const char* kMissingFile = "Le fichier n'existe pas.";
} // namespace

void MainWindow::addRecentFile(const QString& path)
{
    recentFiles_->add(path);
    recentFiles_->showInMenu([this](std::string_view name) { return action(name); });
}

void registerRecentFileCommands(MainWindow& window)
{
    for (int i = 0; i < RecentFiles::kMaxEntries; ++i) {
        window.commands().setHandler(RecentFiles::itemName(i), [&window, i] {
            const QStringList& entries = window.recentFiles().entries();
            if (i >= entries.size())
                return;
            const QString path = entries[i];
            if (!QFileInfo(path).isFile()) {
                window.session().prompter.error(kMissingFile);
                return;
            }
            window.openImageFile(path);
        });
    }
}

} // namespace px
