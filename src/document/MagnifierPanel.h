#pragma once
// The side panel of the image window (Panel1): the magnifier Imagez in its
// frame Shape1, the zoom track bar with its seven labels, and the overview
// Ensemble. The panel draws; the image window decides when.
#include "graphics/Bitmap.h"

#include <QFrame>

class QGroupBox;
class QLabel;
class QSlider;

namespace px {

class DocumentView;

class MagnifierPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 170;
    static constexpr int kOverviewWidth = 121;
    static constexpr int kOverviewHeight = 73;

    explicit MagnifierPanel(QWidget* parent = nullptr);

    int zoomStep() const;
    void setZoomStep(int step);
    QSlider* slider() const { return slider_; }

    bool whiteCrossHair() const { return whiteCrossHair_; }
    void setWhiteCrossHair(bool white) { whiteCrossHair_ = white; }

    // One magnifier picture: grey, then when `follow` is set the square of
    // side 2h around `centre` (document coordinates) stretched onto the
    // whole picture and the cross-hair over it.
    void magnify(const Bitmap& document, QPoint centre, bool follow);
    const Bitmap& magnifierImage() const { return magnifier_; }

    // The overview: the whole document stretched onto 121 x 73.
    void refreshOverview(const Bitmap& document);
    const Bitmap& overviewImage() const { return overview_; }
    void setOverviewVisible(bool visible);
    bool overviewVisible() const;

signals:
    // A double-click on the overview asks for the full-screen view.
    void overviewDoubleClicked();

private:
    void colourZoomLabels(int step);

    Bitmap magnifier_;
    Bitmap overview_;
    bool whiteCrossHair_ = false;
    DocumentView* imagez_ = nullptr;
    DocumentView* ensemble_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* labels_[7] = {};
    QGroupBox* groupBox2_ = nullptr;
};

// Nearest-neighbour stretching copy of the source rectangle (x, y, w, h) of
// `source` onto the whole of `target` (24 bits): target pixel (i, j) takes
// source pixel (x + i * w / W, y + j * h / H). Target pixels whose source
// lies outside the bitmap keep their colour.
void stretchCopy(const Bitmap& source, int x, int y, int w, int h, Bitmap& target);

} // namespace px
