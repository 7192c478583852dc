#include "app/RecentFiles.h"

#include "platform/AtomicFile.h"
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
} // namespace

std::string RecentFiles::itemName(int index)
{
    return "mru" + std::to_string(index + 1);
}

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

} // namespace px
