#pragma once
// TForm14, "Aperçu avant impression...": the printer page reduced on screen
// with the image in its top-left corner, two track bars that enlarge the
// printed image by whole factors (TrackBar1 the height, TrackBar2 the
// width), "Imprimer" and "Fermer". It holds PrintBitmap, the copy of the
// active image that the preview shows and the printer receives, and the
// factors, which the "&Imprimer..." command uses without the preview.
#include "graphics/Bitmap.h"
#include "output/PrintLayout.h"

#include <QDialog>

#include <functional>

class QLabel;
class QScrollArea;
class QSlider;
class QStatusBar;

namespace px {

struct OutputServices;
class Prompter;

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    PrintPreviewDialog(OutputServices& services, Prompter& prompter, QWidget* parent = nullptr);

    // The first steps of the preview and print commands: PrintBitmap := a
    // 24-bit copy of the document; the status panel := its path.
    void prepare(const Bitmap& document, const QString& path);
    const Bitmap& printBitmap() const { return printBitmap_; }
    QString statusText() const;

    PrintFactors factors() const { return factors_; }
    // The reduction of the page and of the image, set when the window shows.
    const PreviewReduction& reduction() const { return reduction_; }
    // Image1: the page area as drawn by DrawPreview.
    const Bitmap& pageArea() const { return pageArea_; }
    // Where the page area sits in the scroll box.
    QPoint pageAreaPosition() const;

    // FormActivate: reduction and page area for the screen, factors 1,
    // DrawPreview. Runs each time the window is shown.
    void activate();
    void drawPreview();
    // Button2Click: the print dialog, then the window closes and PrintBitmap
    // is printed at the factors. Nothing when the print dialog is cancelled.
    void print();

    // The screen size the reduction is chosen by; tests set another one.
    std::function<Size()> screenSize;

protected:
    void showEvent(QShowEvent* event) override;
    // A resized window (maximising is finished by the window manager after
    // the window shows) lays the page out again, keeping the factors.
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPage();
    void trackBar1Change(int position);
    void trackBar2Change(int position);
    void button1Click();

    OutputServices& services_;
    Prompter& prompter_;
    Bitmap printBitmap_;
    Bitmap pageArea_;
    PrintFactors factors_;
    PreviewReduction reduction_;
    QSlider* trackBar1_ = nullptr;
    QSlider* trackBar2_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* pageHolder_ = nullptr;
    QLabel* image1_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPanel_ = nullptr;
};

} // namespace px
