#pragma once
// The colour panel of the main window (Panel3): the spectrum, the main and
// background swatches, swap and reset, and the read-out of the colour under
// the mouse. The two drawing colours live in the session; the panel shows
// them and is the one place that changes them from the user interface.
#include "document/Session.h"
#include "graphics/Bitmap.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;

namespace px {

class ImageWindow;
class PaletteWindow;

// The read-out's three lines "R : r", "V : g", "B : b" (decimal values).
QString colourValuesText(Colour colour);
// The hint of a swatch frame: its title, the three values and the hex form,
// one per line.
QString swatchHintText(const QString& title, Colour colour);

class ColourPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 66;

    ColourPanel(Session& session, QWidget* parent = nullptr);
    ~ColourPanel() override;

    // The active image window or null; the main window sets it. A click on a
    // swatch looks at its document's depth.
    std::function<ImageWindow*()> activeImage;

    Colour mainColour() const { return session_.mainColour; }
    Colour backgroundColour() const { return session_.backgroundColour; }
    void setMainColour(Colour colour);
    void setBackgroundColour(Colour colour);
    // Repaints the swatches after code changed the session's colours.
    void refresh();

    void swapColours();
    void resetColours();

    // The read-out: Panel6 shows the colour, Label2 its values, Label9 its
    // "#RRGGBB" form. Also fed by the colour picker tool.
    void showReadOut(Colour colour);
    // "R : 0\rV : 0\rB : 0" as the main window sets it when first shown.
    void initialiseReadOut();

    // Panel7 and Panel8 accept clicks only while an image window is active.
    void setSwatchesEnabled(bool enabled);

    // A click on Panel7 (main) or Panel8 (background): the colour dialog for a
    // 24-bit image, the palette window for an indexed one.
    void chooseMainColour();
    void chooseBackgroundColour();

    PaletteWindow* paletteWindow() const { return paletteWindow_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(bool mainSwatch);
    void updateSwatches();
    void spectrumPressed(QPoint pos, Qt::MouseButtons buttons);

    Session& session_;
    QWidget* palette_ = nullptr; // the spectrum
    Bitmap spectrum_;
    QWidget* panel7_ = nullptr;
    QWidget* panel8_ = nullptr;
    QWidget* panel4_ = nullptr;
    QWidget* panel5_ = nullptr;
    QWidget* panel6_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label9_ = nullptr;
    PaletteWindow* paletteWindow_ = nullptr;
};

} // namespace px
