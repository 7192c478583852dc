// The zoom of DocumentView: its size, the mapping between widget and bitmap
// pixels, and the painting of the bitmap at its zoom.
#include "document/DocumentView.h"

#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <cstdint>

namespace px {

namespace {

// The pixels of a band of the repainted part: 128 KB.
constexpr int kBandPixels = 32768;

Rect toRect(const QRect& r)
{
    return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

void DocumentView::setZoom(ZoomFactor zoom)
{
    if (zoom.num <= 0 || zoom.den <= 0 || zoom == zoom_)
        return;
    zoom_ = zoom;
    // The halved copies serve the zooms below 1 only.
    if (zoom.num >= zoom.den)
        pyramid_.clear();
    setFixedSize(zoomedSize());
    update();
}

QSize DocumentView::zoomedSize() const
{
    if (!bitmap_)
        return QSize(0, 0);
    return QSize(zoomedLength(bitmap_->width(), zoom_), zoomedLength(bitmap_->height(), zoom_));
}

QPoint DocumentView::imagePosition(QPointF widgetPosition) const
{
    return QPoint(viewToImage(widgetPosition.x(), zoom_), viewToImage(widgetPosition.y(), zoom_));
}

QRect DocumentView::viewRect(const QRect& imageRect) const
{
    return toQRect(imageRectToView(toRect(imageRect), zoom_));
}

QRect DocumentView::imageRect(const QRect& viewRect) const
{
    return toQRect(viewRectToImage(toRect(viewRect), zoom_));
}

// Each part of the region is computed and drawn on its own (a rubber band
// repaints a few thin bands, not the rectangle around them); the floating
// pictures are drawn in bitmap pixels through a scaled painter, in blocks
// above 1:1 and smooth below, like the bitmap under them.
void DocumentView::paintZoomed(QPainter& painter, const QPaintEvent& event)
{
    const QRegion region = event.region();
    for (const QRect& part : region)
        paintBitmap(painter, part);
    painter.setClipRegion(region);
    painter.scale(zoom_.value(), zoom_.value());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_.num < zoom_.den);
    const QRect area = imageRect(event.rect());
    for (const FloatingImage* floating : floating_)
        if (floating)
            paintFloatingImage(painter, *floating, area);
}

// Only the part being repainted is computed, then drawn as it is, in bands
// of rows small enough to stay in the processor's cache in between.
void DocumentView::paintBitmap(QPainter& painter, const QRect& area)
{
    const QRect shown = bitmap_ && !bitmap_->isEmpty() ? QRect(QPoint(0, 0), zoomedSize()) & area : QRect();
    if (!shown.isEmpty()) {
        const int bandRows = std::clamp(kBandPixels / shown.width(), 1, shown.height());
        QImage band(shown.width(), bandRows, QImage::Format_RGB32);
        for (int top = shown.top(); top <= shown.bottom(); top += bandRows) {
            const int rows = std::min(bandRows, shown.bottom() + 1 - top);
            renderZoomedView(*bitmap_, zoom_, Rect{shown.left(), top, shown.right() + 1, top + rows},
                             reinterpret_cast<std::uint32_t*>(band.bits()), std::size_t(band.bytesPerLine() / 4),
                             pyramid_);
            painter.drawImage(QPoint(shown.left(), top), band, QRect(0, 0, shown.width(), rows));
        }
    }
    // Any part of the widget beyond the bitmap (while a layout stretches it).
    for (const QRect& r : QRegion(area) - QRegion(shown))
        painter.fillRect(r, palette().window());
}

} // namespace px
