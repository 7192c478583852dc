#include "app/RecentFiles.h"

#include "app/MainWindow.h"
#include "platform/AtomicFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsFile.h"

#include <QAction>
#include <QFileInfo>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

namespace px {

namespace {
constexpr const char* kSection = "MRUS";
constexpr const char* kMissingFile = "Le fichier n'existe pas.";

std::string itemName(int index)
{
    return "mru" + std::to_string(index + 1);
}
} // namespace

void RecentFiles::load(const SettingsFile& settings)
{
    entries_.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const std::string value = settings.readString(kSection, "MRU" + std::to_string(i + 1));
        if (!value.empty())
            entries_.append(QString::fromStdString(value));
    }
}

void RecentFiles::removeStaleTemporaryFiles() const
{
    std::set<std::filesystem::path> folders;
    for (const QString& entry : entries_)
        folders.insert(std::filesystem::path(entry.toStdString()).parent_path());
    for (const auto& folder : folders)
        if (!folder.empty())
            px::removeStaleTemporaryFiles(folder, std::chrono::hours(24));
}

void RecentFiles::save(SettingsFile& settings) const
{
    if (!changed_)
        return;
    for (int i = 0; i < entries_.size() && i < kMaxEntries; ++i)
        settings.writeString(kSection, itemName(i), entries_[i].toStdString());
}

void RecentFiles::add(const QString& path)
{
    if (path.isEmpty())
        return;
    changed_ = true;
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_[i].compare(path, Qt::CaseInsensitive) == 0) {
            entries_.move(i, 0);
            return;
        }
    entries_.prepend(path);
    while (entries_.size() > kMaxEntries)
        entries_.removeLast();
}

void RecentFiles::showInMenu(const std::function<QAction*(std::string_view)>& action) const
{
    for (int i = 0; i < entries_.size() && i < kMaxEntries; ++i) {
        QAction* item = action(itemName(i));
        // A '&' in a folder name is part of the path, not a mnemonic.
        item->setText(QString(entries_[i]).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setVisible(true);
    }
    action("Mrudiv")->setVisible(action("mru1")->isVisible());
}

void MainWindow::addRecentFile(const QString& path)
{
    recentFiles_->add(path);
    recentFiles_->showInMenu([this](std::string_view name) { return action(name); });
}

void registerRecentFileCommands(MainWindow& window)
{
    for (int i = 0; i < RecentFiles::kMaxEntries; ++i) {
        window.commands().setHandler(itemName(i), [&window, i] {
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
