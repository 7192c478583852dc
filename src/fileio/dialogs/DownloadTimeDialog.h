#pragma once
// TForm8, "Temps de téléchargements...": the time a file takes to move at
// four connection rates. Each rate box takes digits only and keeps its value
// for the whole run; changing one recomputes its row from the size of the
// last report, which the hidden Label17 holds.
#include <QDialog>

#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace px {

class DownloadTimeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 4;

    explicit DownloadTimeDialog(QWidget* parent = nullptr);

    // Fills every row for `bytes` and keeps the size in Label17.
    void report(std::uint64_t bytes);

private:
    void recompute(int row);

    std::array<QLabel*, kRows> results_{};
    std::array<QLineEdit*, kRows> rates_{};
    QLabel* size_ = nullptr; // Label17
};

} // namespace px
