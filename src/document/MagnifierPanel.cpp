#include "document/MagnifierPanel.h"

#include "document/DocumentView.h"
#include "graphics/Canvas.h"
#include "graphics/MagnifierGeometry.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>

namespace px {

namespace {

const char* const kZoomTexts[7] = {"2x", "4x", "6x", "8x", "10x", "12x", "14x"};

} // namespace

void stretchCopy(const Bitmap& source, int x, int y, int w, int h, Bitmap& target)
{
    if (w <= 0 || h <= 0)
        return;
    Canvas canvas(target);
    canvas.stretchCopy(Rect{0, 0, target.width(), target.height()}, source, Rect{x, y, x + w, y + h});
}

MagnifierPanel::MagnifierPanel(QWidget* parent)
    : QFrame(parent), magnifier_(kMagnifierSide, kMagnifierSide, 24), overview_(kOverviewWidth, kOverviewHeight, 24)
{
    setObjectName("Panel1");
    setFixedWidth(kWidth);
    setFrameShape(QFrame::NoFrame);
    setContextMenuPolicy(Qt::CustomContextMenu);
    clearMagnifier(magnifier_);

    auto* shape1 = new QFrame(this);
    shape1->setObjectName("Shape1");
    shape1->setFrameShape(QFrame::Box);
    shape1->setLineWidth(1);
    shape1->setGeometry(9, 9, 152, 152);

    imagez_ = new DocumentView(this);
    imagez_->setObjectName("Imagez");
    imagez_->move(10, 10);
    imagez_->setBitmap(&magnifier_);

    auto* groupBox1 = new QGroupBox(QStringLiteral("Zoom"), this);
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(5, 168, 160, 78);
    slider_ = new QSlider(Qt::Horizontal, groupBox1);
    slider_->setObjectName("Slider");
    slider_->setRange(kMinZoomStep, kMaxZoomStep);
    slider_->setValue(kMinZoomStep);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setGeometry(6, 20, 148, 26);
    for (int i = 0; i < 7; ++i) {
        labels_[i] = new QLabel(QString::fromLatin1(kZoomTexts[i]), groupBox1);
        labels_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        labels_[i]->setGeometry(4 + i * 21, 50, 22, 16);
        labels_[i]->setAlignment(Qt::AlignCenter);
        QFont f = labels_[i]->font();
        f.setPointSize(7);
        labels_[i]->setFont(f);
    }
    colourZoomLabels(kMinZoomStep);
    connect(slider_, &QSlider::valueChanged, this, &MagnifierPanel::colourZoomLabels);

    groupBox2_ = new QGroupBox(QString::fromUtf8("Vue d'ensemble"), this);
    groupBox2_->setObjectName("GroupBox2");
    groupBox2_->setGeometry(5, 252, 160, 102);
    ensemble_ = new DocumentView(groupBox2_);
    ensemble_->setObjectName("Ensemble");
    ensemble_->setToolTip(QString::fromUtf8("Pleine écran"));
    ensemble_->move(19, 20);
    ensemble_->setBitmap(&overview_);
    connect(ensemble_, &DocumentView::doubleClicked, this, &MagnifierPanel::overviewDoubleClicked);
}

int MagnifierPanel::zoomStep() const
{
    return slider_->value();
}

void MagnifierPanel::setZoomStep(int step)
{
    slider_->setValue(step);
}

// SliderChange: the label of the current step in blue, the others black.
void MagnifierPanel::colourZoomLabels(int step)
{
    for (int i = 0; i < 7; ++i) {
        QPalette pal = labels_[i]->palette();
        pal.setColor(QPalette::WindowText, i + 1 == step ? QColor(0, 0, 255) : QColor(0, 0, 0));
        labels_[i]->setPalette(pal);
    }
}

void MagnifierPanel::magnify(const Bitmap& document, QPoint centre, bool follow)
{
    clearMagnifier(magnifier_);
    if (follow) {
        const MagnifierStep step = magnifierStep(magnifier_.width(), zoomStep());
        const int h = step.halfSide;
        stretchCopy(document, centre.x() - h, centre.y() - h, 2 * h, 2 * h, magnifier_);
        drawCrossHair(magnifier_, step, whiteCrossHair_ ? kWhite : kBlack);
    }
    imagez_->update();
}

void MagnifierPanel::refreshOverview(const Bitmap& document)
{
    overview_.fill(kBlack);
    stretchCopy(document, 0, 0, document.width(), document.height(), overview_);
    ensemble_->update();
}

void MagnifierPanel::setOverviewVisible(bool visible)
{
    groupBox2_->setVisible(visible);
}

bool MagnifierPanel::overviewVisible() const
{
    return !groupBox2_->isHidden();
}

} // namespace px
