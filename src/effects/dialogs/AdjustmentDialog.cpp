#include "effects/dialogs/AdjustmentDialog.h"

#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"
#include "platform/qt/DialogButtons.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include <exception>
#include <utility>

namespace px {

namespace {
QString utf8(const char* s)
{
    return QString::fromUtf8(s);
}

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

PreviewImage::PreviewImage(QWidget* parent, QSize size) : QWidget(parent)
{
    setFixedSize(size);
}

Bitmap& PreviewImage::bitmap()
{
    if (bitmap_.use_count() > 1)
        bitmap_ = std::make_shared<Bitmap>(*bitmap_);
    return *bitmap_;
}

void PreviewImage::setBitmap(Bitmap bitmap)
{
    bitmap_ = std::make_shared<Bitmap>(std::move(bitmap));
    update();
}

void PreviewImage::showPictureOf(const PreviewImage& other)
{
    bitmap_ = other.bitmap_;
    update();
}

void PreviewImage::setStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void PreviewImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const Bitmap& b = *bitmap_;
    if (b.isEmpty() || b.bitsPerPixel() != 24)
        return;
    const QImage image(b.bits(), b.width(), b.height(), qsizetype(b.stride()), QImage::Format_BGR888);
    if (stretch_)
        painter.drawImage(rect(), image);
    else
        painter.drawImage(QPoint(0, 0), image);
}

PreviewDialog::PreviewDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent)
    : EffectDialog(command, parent), prompter_(prompter)
{
}

QWidget* PreviewDialog::makePreviews(const char* sourceTitle, const char* destinationTitle, QSize size)
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    image1_ = new PreviewImage(box, size);
    image1_->setObjectName(QStringLiteral("Image1"));
    image2_ = new PreviewImage(box, size);
    image2_->setObjectName(QStringLiteral("Image2"));
    grid->addWidget(namedLabel(QStringLiteral("Label1"), utf8(sourceTitle), box), 0, 0);
    grid->addWidget(namedLabel(QStringLiteral("Label2"), utf8(destinationTitle), box), 0, 1);
    grid->addWidget(image1_, 1, 0);
    grid->addWidget(image2_, 1, 1);
    return box;
}

void PreviewDialog::load(const Bitmap& document, const EffectContext& context)
{
    context_ = context;
    Bitmap& source = image1_->bitmap();
    source = document;
    source.setPixelFormat(24);
    const bool stretch = needsStretch(source.width(), source.height());
    image1_->setStretch(stretch);
    image2_->setStretch(stretch);
    image2_->bitmap() = source;
    image1_->bitmapChanged();
    refreshPreview();
}

void PreviewDialog::unload()
{
    image1_->bitmap() = Bitmap();
    image2_->bitmap() = Bitmap();
    image1_->bitmapChanged();
    image2_->bitmapChanged();
}

void PreviewDialog::computePreview(const std::optional<std::vector<int>>& values)
{
    const BusyCursor busy;
    Bitmap result = image1_->bitmap();
    if (values && !values->empty() && !result.isEmpty()) {
        try {
            applyEffect(command(), result, context_, *values, scratch_);
        } catch (const std::exception& e) {
            reportError(e.what());
            return;
        }
    }
    image2_->bitmap().swap(result);
    image2_->bitmapChanged();
}

void PreviewDialog::refreshPreview()
{
    std::string error;
    const auto values = previewValues(error);
    if (!error.empty()) {
        reportError(error);
        return;
    }
    computePreview(values);
}

void PreviewDialog::reportError(const std::string& text) const
{
    prompter_.error(text);
}

AdjustmentDialog::AdjustmentDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent)
    : PreviewDialog(command, prompter, parent), setup_(command.adjustment.value_or(AdjustmentDialogSetup{}))
{
    setWindowTitle(utf8(setup_.caption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        makePreviews("Image originale", setup_.destinationTitle, QSize(setup_.previewWidth, setup_.previewHeight)));

    // Labels after the two preview titles are numbered in the order they appear.
    int labelNumber = 3;
    auto nextLabel = [&](const QString& text, QWidget* parent) {
        return namedLabel(QStringLiteral("Label%1").arg(labelNumber++), text, parent);
    };

    auto* bars = new QGridLayout;
    layout->addLayout(bars);
    if (setup_.valueCaption)
        bars->addWidget(nextLabel(utf8(setup_.valueCaption), this), 0, 0);
    int row = 0;
    for (std::size_t i = 0; i < setup_.trackBars.size(); ++i, ++row) {
        const TrackBarSetup& t = setup_.trackBars[i];
        if (t.caption)
            bars->addWidget(nextLabel(utf8(t.caption), this), row, 1);
        QLabel* value =
            t.valueLabelName ? namedLabel(utf8(t.valueLabelName), QString(), this) : nextLabel(QString(), this);
        value->setMinimumWidth(36);
        bars->addWidget(value, row, 2);
        valueLabels_.push_back(value);

        auto* column = new QVBoxLayout;
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QStringLiteral("TrackBar%1").arg(i + 1));
        slider->setRange(t.minimum, t.maximum);
        slider->setTickInterval(t.tickFrequency);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setValue(0);
        slider->setMinimumWidth(240);
        connect(slider, &QSlider::valueChanged, this, &AdjustmentDialog::trackBarChanged);
        trackBars_.push_back(slider);
        column->addWidget(slider);
        auto* ends = new QHBoxLayout;
        for (std::size_t k = 0; k < t.rangeLabels.size(); ++k) {
            if (k > 0)
                ends->addStretch(1);
            ends->addWidget(nextLabel(QString::fromStdString(t.rangeLabels[k]), this));
        }
        column->addLayout(ends);
        bars->addLayout(column, row, 3);
    }

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    if (setup_.previewButton) {
        auto* preview = new QPushButton(utf8(setup_.previewButton), this);
        preview->setObjectName(QStringLiteral("Button3"));
        preview->setAutoDefault(false);
        connect(preview, &QPushButton::clicked, this, &AdjustmentDialog::previewButtonClicked);
        buttons->addWidget(preview);
    }
    buttons->addStretch(1);
    const auto [ok, cancel] = makeDialogButtons(this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    updateValueLabels();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::vector<int> AdjustmentDialog::values() const
{
    std::vector<int> v;
    for (const QSlider* s : trackBars_)
        v.push_back(s->value());
    return v;
}

bool AdjustmentDialog::atRest(int index) const
{
    return trackBarAtRest(setup_.trackBars.at(std::size_t(index)), trackBars_.at(std::size_t(index))->value());
}

bool AdjustmentDialog::appliesNothing() const
{
    return px::appliesNothing(command(), values());
}

void AdjustmentDialog::resetPositions()
{
    // One preview for the whole reset, not one per track bar.
    resetting_ = true;
    for (QSlider* s : trackBars_)
        s->setValue(0);
    resetting_ = false;
    source()->setStretch(false);
    destination()->setStretch(false);
    updateValueLabels();
    if (!setup_.previewButton && !setup_.keepsPreviewAtZero)
        refreshPreview();
}

void AdjustmentDialog::reject()
{
    resetPositions();
    QDialog::reject();
}

std::optional<std::vector<int>> AdjustmentDialog::previewValues(std::string&) const
{
    // With every track bar at rest the destination shows the source.
    bool any = setup_.appliesAtZero;
    for (int i = 0; i < int(trackBars_.size()); ++i)
        any = any || !atRest(i);
    if (!any)
        return std::nullopt;
    return values();
}

void AdjustmentDialog::trackBarChanged()
{
    if (resetting_)
        return;
    updateValueLabels();
    if (setup_.keepsPreviewAtZero && appliesNothing())
        return;
    if (!setup_.previewButton)
        refreshPreview();
}

void AdjustmentDialog::previewButtonClicked()
{
    refreshPreview();
}

void AdjustmentDialog::updateValueLabels()
{
    for (std::size_t i = 0; i < trackBars_.size(); ++i) {
        const int v = atRest(int(i)) ? 0 : trackBars_[i]->value();
        valueLabels_[i]->setText(setup_.signedValues && v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v));
    }
}

} // namespace px
