#pragma once
// The scanner list of "&Sélection de la source..." when scanning goes
// through SANE: one line per device, the current choice selected.
#include "platform/Scanner.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace px {

class ScannerSourceDialog : public QDialog {
    Q_OBJECT
public:
    ScannerSourceDialog(const std::vector<ScannerDevice>& devices, const std::string& current,
                        QWidget* parent = nullptr);
    // The device of the selected line, empty when none is selected.
    std::string chosenDevice() const;
    QListWidget* list() const { return list_; }

private:
    std::vector<ScannerDevice> devices_;
    QListWidget* list_ = nullptr;
};

} // namespace px
