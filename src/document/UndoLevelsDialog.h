#pragma once
// TForm50, "Annulation...": the number of undo levels, 1 to 20. OK keeps the
// spin edit's value for the caller to apply; "Annuler" puts back the value
// the dialog had when the program started.
#include <QDialog>

class QSpinBox;

namespace px {

class UndoLevelsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 20;
    static constexpr int kStart = 5;

    explicit UndoLevelsDialog(QWidget* parent = nullptr);

    int levels() const;
    // SavedUndoLevels: the spin edit's value at creation.
    int savedLevels() const { return savedLevels_; }
    QSpinBox* spinEdit() const { return spinEdit_; }

    // "Annuler" and the close box.
    void reject() override;

private:
    QSpinBox* spinEdit_ = nullptr;
    int savedLevels_ = kStart;
};

} // namespace px
