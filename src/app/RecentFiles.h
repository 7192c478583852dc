#pragma once
// The list of recently opened or saved image files shown at the end of the
// "&Fichier" menu (mru1..mru4), kept in the settings file's MRUS section.
//
// Most recent first, at most four entries, never an empty one; a path that
// differs from an entry only in letter case is that entry. The list is read
// when the main window is created and written back when it is destroyed,
// only if something was added during the run.
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <string_view>

class QAction;

namespace px {

class SettingsFile;

class RecentFiles {
public:
    static constexpr int kMaxEntries = 4;
    // The objectName of the menu item of entry `index` (0-based): "mru1"...
    static std::string itemName(int index);

    // Reads keys MRU1..MRU4 in that order and drops the empty ones.
    void load(const SettingsFile& settings);
    // Writes entry i as key "mru<i+1>" when the list changed; keys past the
    // last entry keep whatever they held. Throws SettingsWriteError.
    void save(SettingsFile& settings) const;

    // AddRecentFile: moves the path (found without regard to case) to the
    // top, or inserts it there and drops the fifth entry.
    void add(const QString& path);

    // Removes the temporary files that a save killed mid-way left beside
    // the entries' files (AtomicFile.h), once they are a day old: younger
    // ones may belong to a save in progress in another copy of the program.
    void removeStaleTemporaryFiles() const;

    const QStringList& entries() const { return entries_; }
    bool changed() const { return changed_; }

    // Shows one menu item per entry with the entry's full path as caption,
    // and the separator after them when there is at least one. Items past
    // the count are left as they are: the list never shrinks during a run.
    void showInMenu(const std::function<QAction*(std::string_view)>& action) const;

private:
    QStringList entries_;
    bool changed_ = false;
};

} // namespace px
