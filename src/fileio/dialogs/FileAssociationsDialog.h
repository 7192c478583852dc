#pragma once
// TForm23, "Formats associés...": a check list of the image extensions the
// program may open for the desktop. Each showing ticks the items from the
// settings file; OK applies the ticks (fileio/FileAssociations.h) and
// closes; Annuler closes and writes nothing. A write that fails is reported
// and the window stays open.
#include "platform/FileTypeStore.h"

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QListWidget;

namespace px {

class Prompter;
class SettingsFile;

class FileAssociationsDialog : public QDialog {
    Q_OBJECT
public:
    // `executable` is the program's full path, the one the associations start.
    FileAssociationsDialog(SettingsFile& settings, std::unique_ptr<FileTypeStore> store, Prompter& prompter,
                           std::string executable, QWidget* parent = nullptr);

    // FormShow: ticks the items from the settings file; the command calls it
    // before every showing.
    void formShow();

private:
    void okClicked();

    SettingsFile& settings_;
    std::unique_ptr<FileTypeStore> store_;
    Prompter& prompter_;
    std::string executable_;
    QListWidget* list_ = nullptr; // CheckListBox1
    QLabel* pattern_ = nullptr;   // Label4
};

} // namespace px
