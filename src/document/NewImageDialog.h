#pragma once
// TForm4, "Nouveau...": the size, background colour and colour depth of a
// blank image. Every showing reloads the last values from the settings file
// (section Nouveau); OK creates the image window, fills it with the colour,
// sets its depth and writes the four values back.
#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace px {

class ImageWindow;
class SettingsFile;
struct Session;

class NewImageDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerInterval = 100;

    NewImageDialog(Session& session, SettingsFile& settings, QWidget* parent = nullptr);

    // Creates and shows an image window holding a 24-bit width x height
    // document; the main window sets it. The window becomes FrmImage, which
    // empties the undo history.
    std::function<ImageWindow*(int width, int height)> createWindow;

    QLineEdit* widthEdit() const { return edit1_; }
    QLineEdit* heightEdit() const { return edit2_; }
    QLineEdit* resolutionEdit() const { return edit3_; }
    QComboBox* colourBox() const { return comboBox3_; }
    QComboBox* typeBox() const { return comboBox4_; }
    QLabel* memoryLabel() const { return label9_; }
    QTimer* timer() const { return timer1_; }

    // FormShow: the four values from the settings file, then the colour list.
    void formShow();
    // ComboBox4Change: the colours offered for the type shown.
    void typeChanged();
    // Timer1Timer: the memory estimate in Label9.
    void timerTick();
    // Button1Click. Returns the created window, or null when the dialog
    // stays open (an empty field) or nothing could be created.
    ImageWindow* okClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    SettingsFile& settings_;
    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLineEdit* edit3_ = nullptr;
    QComboBox* comboBox3_ = nullptr;
    QComboBox* comboBox4_ = nullptr;
    QLabel* label9_ = nullptr;
    QPushButton* button1_ = nullptr;
    QTimer* timer1_ = nullptr;
};

} // namespace px
