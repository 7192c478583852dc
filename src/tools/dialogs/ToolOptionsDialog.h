#pragma once
// TForm22 "Options d'outils...": the settings of the drawing tools on twelve
// pages. The window is created once and its controls are the settings: every
// change is written at once into the session's ToolOptions, which the tools
// read at each press. "&OK" and "&Annuler" both just close the window.
#include "graphics/Bitmap.h"
#include "tools/ToolOptions.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace px {

class Clipboard;
class Prompter;
class UpDownButtons;

class ToolOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // The airbrush preview Image2 and its centre.
    static constexpr int kPreviewWidth = 89;
    static constexpr int kPreviewHeight = 57;
    static constexpr int kPreviewCentreX = 44;
    static constexpr int kPreviewCentreY = 28;
    // A stamp picture larger than this is shown shrunk in Imagetamp.
    static constexpr int kStampShownWidth = 89;
    static constexpr int kStampShownHeight = 65;

    // Sets the stamp of `options` to the window's default picture.
    ToolOptionsDialog(ToolOptions& options, Clipboard& clipboard, Prompter& prompter, QWidget* parent = nullptr);

    // FormActivate: Button4 follows the clipboard, the airbrush preview is
    // redrawn for a numbered style, the "Bicolore" boxes of "Rectangle",
    // "Ellipse" and "Rect arrondi" follow their fill boxes.
    void activate();

    // Image2's picture.
    const Bitmap& previewPicture() const { return preview_; }
    // Imagetamp shows its picture shrunk (switched on by a large stamp, never off).
    bool stampStretched() const { return stampStretched_; }

    // Button3Click: a ".bmp" file chosen in OpenTampon1 becomes the stamp.
    void openStamp();
    // Button4Click: the clipboard's picture becomes the stamp.
    void takeStampFromClipboard();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // One page of a closed figure: width track bar with its value label, line
    // type (and the label above it), fill and "Bicolore".
    struct FigurePage {
        QSlider* width = nullptr;
        QLabel* value = nullptr;
        QLabel* typeCaption = nullptr;
        QComboBox* type = nullptr;
        QComboBox* fill = nullptr;
        QCheckBox* bicolour = nullptr;
        FigureOptions* options = nullptr;
    };
    struct FigurePageNames {
        const char* page;
        const char* track;
        const char* value;
        const char* type;
        const char* typeCaption;
        const char* fill;
        const char* fillCaption;
        bool solidFirst; // fill items "Solide", "Transparent" (else the reverse)
        const char* bicolour;
    };

    QWidget* buildFigurePage(const FigurePageNames& names, FigureOptions& options, FigurePage& page);
    QWidget* buildAirbrushPage();
    QWidget* buildCrayonPage();
    QWidget* buildEraserPage();
    QWidget* buildLinePage();
    QWidget* buildFillPage();
    QWidget* buildSprayPage();
    QWidget* buildStampPage();

    void widthChanged(FigurePage& page, int position);
    void fillChanged(FigurePage& page);
    void lineSizeChanged(const QString& text);
    void lineTypeChanged();
    void airbrushStyleChanged();
    void gridClicked();
    void drawStylePreview();
    void clearPreview();
    void showPreview();
    void setStamp(Bitmap stamp);

    ToolOptions& options_;
    Clipboard& clipboard_;
    Prompter& prompter_;

    QTabWidget* pages_ = nullptr;
    std::array<FigurePage, 5> figures_; // Carré, Cercle, Ellipse, Rectangle, Rect arrondi
    QComboBox* airbrushStyle_ = nullptr;
    std::array<QCheckBox*, 25> grid_{};
    QLabel* previewLabel_ = nullptr;
    Bitmap preview_;
    QComboBox* lineType_ = nullptr;
    QLabel* lineTypeCaption_ = nullptr;
    QLineEdit* lineSize_ = nullptr;
    UpDownButtons* lineSizeUpDown_ = nullptr;
    QLabel* lineDescription_ = nullptr;
    QLineEdit* sprayDiameter_ = nullptr;
    UpDownButtons* sprayUpDown_ = nullptr;
    QLabel* stampLabel_ = nullptr;
    QPushButton* stampFromClipboard_ = nullptr;
    bool stampStretched_ = false;
};

} // namespace px
