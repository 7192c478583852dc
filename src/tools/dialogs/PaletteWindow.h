#pragma once
// The palette window (TForm19 "Palette de couleurs..."): picks the main and
// background colours from a 256-entry palette shown as 16 x 16 cells, for
// images with a colour table. The palette starts as the system palette and
// can be replaced by a ".pal" file.
#include "fileio/PaletteFile.h"
#include "graphics/Colour.h"

#include <QDialog>
#include <QImage>

class QLabel;

namespace px {

class Prompter;

class PaletteWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBoxSide = 225;

    PaletteWindow(Prompter& prompter, QWidget* parent = nullptr);

    // Panel1 (main) and Panel2 (background).
    void setColours(Colour main, Colour background);
    Colour mainColour() const { return main_; }
    Colour backgroundColour() const { return background_; }

    const LogicalPalette& logicalPalette() const { return palette_; }
    void setLogicalPalette(const LogicalPalette& palette);

    // The colour painted at a point of the paint box.
    Colour colourAt(QPoint boxPos) const;
    // Mouse move over the paint box: Label4..Label6 and Label7.
    void showColourAt(QPoint boxPos);
    // Mouse press: left sets Panel1, right Panel2.
    void pickAt(QPoint boxPos, Qt::MouseButton button);

    // "O&uvrir...": asks for a ".pal" file and loads it. A file that cannot
    // be read is reported and the current palette stays.
    void openPaletteFile();
    // Loads a file; returns false after reporting the error.
    bool loadPaletteFile(const std::string& path);

    const QImage& boxImage() const { return boxImage_; }

private:
    void renderBox();
    void updateSwatches();

    Prompter& prompter_;
    LogicalPalette palette_;
    Colour main_ = kBlack;
    Colour background_ = kWhite;
    QImage boxImage_;
    QWidget* box_ = nullptr;
    QWidget* panel1_ = nullptr;
    QWidget* panel2_ = nullptr;
    QLabel* values_[3] = {};
    QLabel* hex_ = nullptr;
};

} // namespace px
