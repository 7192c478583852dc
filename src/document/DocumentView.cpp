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

ToolEvent::Button toolButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ToolEvent::Left;
    case Qt::RightButton:
        return ToolEvent::Right;
    case Qt::MiddleButton:
        return ToolEvent::Middle;
    default:
        return ToolEvent::NoButton;
    }
}

// The picture with the pixels of `transparent` made see-through.
QImage withTransparentColour(const QImage& picture, Colour transparent)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(redOf(transparent), greenOf(transparent), blueOf(transparent));
    for (int y = 0; y < result.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (p[x] == key)
                p[x] = 0;
    }
    return result;
}

} // namespace

ToolEvent toolEventOf(const QMouseEvent& event, ZoomFactor zoom)
{
    ToolEvent e;
    const QPointF p = event.position();
    e.x = viewToImage(p.x(), zoom);
    e.y = viewToImage(p.y(), zoom);
    e.button = toolButton(event.button());
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (event.buttons() & b)
            e.buttons |= toolButton(b);
    const Qt::KeyboardModifiers m = event.modifiers();
    if (m & Qt::ShiftModifier)
        e.modifiers |= ToolEvent::Shift;
    if (m & Qt::ControlModifier)
        e.modifiers |= ToolEvent::Control;
    if (m & Qt::AltModifier)
        e.modifiers |= ToolEvent::Alt;
    return e;
}

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
    pyramid_.invalidate(
        changed.isEmpty() ? Rect{} : Rect{changed.left(), changed.top(), changed.right() + 1, changed.bottom() + 1});
    const QSize size = zoomedSize();
    if (this->size() != size) {
        setFixedSize(size);
        update();
        return;
    }
    if (changed.isEmpty())
        update();
    else
        update(viewRect(changed));
}

void DocumentView::bitmapChanged(const QRegion& changed)
{
    if (changed.isEmpty())
        return;
    if (this->size() != zoomedSize() || (bitmap_ && !bitmap_->isEmpty() && bitmap_->bitsPerPixel() == 4)) {
        bitmapChanged(changed.boundingRect());
        return;
    }
    if (zoom_ == ZoomFactor{}) {
        update(changed);
        return;
    }
    // Zoomed: each part in view pixels, and in the halved copies.
    QRegion shown;
    for (const QRect& part : changed) {
        pyramid_.invalidate(Rect{part.left(), part.top(), part.right() + 1, part.bottom() + 1});
        shown += viewRect(part);
    }
    update(shown);
}

void DocumentView::setFloatingImage(const FloatingImage* floating)
{
    setFloatingImages(floating ? std::vector<const FloatingImage*>{floating} : std::vector<const FloatingImage*>{});
}

void DocumentView::setFloatingImages(std::vector<const FloatingImage*> floating)
{
    floating_ = std::move(floating);
    update();
}

QSize DocumentView::sizeHint() const
{
    return zoomedSize();
}

void DocumentView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (zoom_ != ZoomFactor{}) {
        paintZoomed(painter, *event);
        return;
    }
    const QImage image = expanded_.isNull() && bitmap_ ? imageOfBitmap(*bitmap_) : expanded_;
    const QRect area = event->rect();
    if (image.isNull()) {
        painter.fillRect(area, palette().window());
        return;
    }
    // Only the parts asked for: a rubber band repaints a few thin bands, not
    // the rectangle around them.
    const QRegion region = event->region();
    for (const QRect& part : region) {
        if (bitmap_ && bitmap_->bitsPerPixel() == 24)
            bitmapPainter_.paint(painter, *bitmap_, part);
        else
            painter.drawImage(part.topLeft(), image, part);
    }
    // Any part of the widget beyond the bitmap (while a layout stretches it).
    const QRegion outside = region - QRegion(image.rect());
    for (const QRect& r : outside)
        painter.fillRect(r, palette().window());
    for (const FloatingImage* floating : floating_)
        if (floating)
            paintFloatingImage(painter, *floating, area);
}

void DocumentView::paintFloatingImage(QPainter& painter, const FloatingImage& floating, const QRect& area) const
{
    if (!floating.shown || floating.image.isEmpty())
        return;
    const QPoint topLeft(floating.topLeft.x, floating.topLeft.y);
    const QRect where = QRect(topLeft, QSize(floating.image.width(), floating.image.height())) & area;
    if (where.isEmpty())
        return;
    QImage picture = imageOfBitmap(floating.image);
    if (floating.transparent)
        picture = withTransparentColour(picture.copy(where.translated(-topLeft)), *floating.transparent);
    else
        picture = picture.copy(where.translated(-topLeft));
    painter.drawImage(where.topLeft(), picture);
}

void DocumentView::mousePressEvent(QMouseEvent* event)
{
    emit pointerPressed(toolEventOf(*event, zoom_));
}

void DocumentView::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(toolEventOf(*event, zoom_));
}

void DocumentView::mouseReleaseEvent(QMouseEvent* event)
{
    emit pointerReleased(toolEventOf(*event, zoom_));
}

// Qt sends the second press of a double click only as this event.
void DocumentView::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit pointerPressed(toolEventOf(*event, zoom_));
    emit doubleClicked();
}

} // namespace px
