#include "document/DocumentView.h"

#include <QMouseEvent>
#include <QPainter>

namespace px {

namespace {

QList<QRgb> colourTable(const Bitmap& bitmap)
{
    const int entries = 1 << bitmap.bitsPerPixel();
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    const auto& palette = bitmap.palette();
    for (int i = 0; i < entries && i < int(palette.size()); ++i)
        table[i] = qRgb(redOf(palette[i]), greenOf(palette[i]), blueOf(palette[i]));
    return table;
}

QImage expandFourBits(const Bitmap& bitmap)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_Indexed8);
    image.setColorTable(colourTable(bitmap));
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* src = bitmap.row(y);
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x)
            dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
    }
    return image;
}

} // namespace

QImage imageOfBitmap(const Bitmap& bitmap)
{
    if (bitmap.isEmpty())
        return {};
    const auto stride = qsizetype(bitmap.stride());
    switch (bitmap.bitsPerPixel()) {
    case 24:
        return QImage(bitmap.bits(), bitmap.width(), bitmap.height(), stride, QImage::Format_BGR888);
    case 8: {
        QImage image(bitmap.bits(), bitmap.width(), bitmap.height(), stride, QImage::Format_Indexed8);
        image.setColorTable(colourTable(bitmap));
        return image;
    }
    case 1: {
        QImage image(bitmap.bits(), bitmap.width(), bitmap.height(), stride, QImage::Format_Mono);
        image.setColorTable(colourTable(bitmap));
        return image;
    }
    default:
        return expandFourBits(bitmap);
    }
}

DocumentView::DocumentView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DocumentView::setBitmap(const Bitmap* bitmap)
{
    bitmap_ = bitmap;
    bitmapChanged();
}

void DocumentView::bitmapChanged(QRect changed)
{
    const bool fourBits = bitmap_ && !bitmap_->isEmpty() && bitmap_->bitsPerPixel() == 4;
    expanded_ = fourBits ? expandFourBits(*bitmap_) : QImage();
    const QSize size = bitmap_ ? QSize(bitmap_->width(), bitmap_->height()) : QSize(0, 0);
    if (this->size() != size) {
        setFixedSize(size);
        update();
        return;
    }
    if (changed.isEmpty())
        update();
    else
        update(changed);
}

QSize DocumentView::sizeHint() const
{
    return bitmap_ ? QSize(bitmap_->width(), bitmap_->height()) : QSize(0, 0);
}

void DocumentView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage image = expanded_.isNull() && bitmap_ ? imageOfBitmap(*bitmap_) : expanded_;
    const QRect area = event->rect();
    if (image.isNull()) {
        painter.fillRect(area, palette().window());
        return;
    }
    painter.drawImage(area.topLeft(), image, area);
    // Any part of the widget beyond the bitmap (while a layout stretches it).
    const QRegion outside = QRegion(area) - QRegion(image.rect());
    for (const QRect& r : outside)
        painter.fillRect(r, palette().window());
}

void DocumentView::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event);
}

void DocumentView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event);
}

void DocumentView::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event);
}

void DocumentView::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit mouseDoubleClicked(event);
}

} // namespace px
