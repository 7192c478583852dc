#pragma once
// A widget that paints a px::Bitmap at its natural size (one bitmap pixel,
// one screen pixel) unless zoomed. It is the image window's Image1, and also shows the
// magnifier, the overview and the full-screen view.
//
// A 24-bit bitmap is painted by BitmapPainter, which converts only the rows
// of the parts asked for, strip by strip (a rubber band's thin bands cost
// their own pixels, not Qt's overhead per row). An 8-bit bitmap is wrapped
// without a copy by a QImage of Format_Indexed8 and a 1-bit one by
// Format_Mono (both with the bitmap's palette as colour table), each with the
// bitmap's own stride. Qt has no 4-bit format, so a 4-bit bitmap is expanded
// once into an 8-bit copy that is rebuilt whenever bitmapChanged() is called.
//
// The view can be zoomed for display (DocumentViewZoom.cpp): the widget then
// takes the zoomed size, and a repaint computes the screen pixels of the
// parts being repainted only (see graphics/ViewZoom.h).
//
// The mouse over the view is reported as tool events in bitmap pixels at
// every zoom; a floating picture (a paste or a text waiting to be placed) can be painted
// over the bitmap without being part of it.
#include "graphics/Bitmap.h"
#include "graphics/ViewZoom.h"
#include "platform/qt/BitmapPainter.h"
#include "tools/Tool.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

class QMouseEvent;
class QPainter;

namespace px {

// A QImage showing the bitmap: wraps its memory for 1, 8 and 24 bits (valid
// while the bitmap is neither resized nor destroyed), a converted copy for
// 4 bits. Null for an empty bitmap.
QImage imageOfBitmap(const Bitmap& bitmap);

// The tool event of a mouse event on a view shown at `zoom`: the bitmap pixel
// under the pointer (a position is floored to the pixel that contains it),
// the buttons and the keyboard modifiers.
ToolEvent toolEventOf(const QMouseEvent& event, ZoomFactor zoom = {});

class DocumentView : public QWidget {
    Q_OBJECT
public:
    explicit DocumentView(QWidget* parent = nullptr);

    // The bitmap to show; it stays owned by the caller. Null shows nothing.
    void setBitmap(const Bitmap* bitmap);
    const Bitmap* bitmap() const { return bitmap_; }

    // The pixels in `changed` (all of them for an empty rectangle) or the
    // size changed: repaints that part only, resizing the widget when needed.
    void bitmapChanged(QRect changed = {});
    // The same for several parts; an empty region repaints nothing.
    void bitmapChanged(const QRegion& changed);

    // A picture painted over the bitmap while it is shown; it stays owned by
    // the caller. Null paints none. Its changes are repainted through
    // bitmapChanged() like the bitmap's.
    void setFloatingImage(const FloatingImage* floating);
    // Several such pictures, painted in this order (the last on top).
    void setFloatingImages(std::vector<const FloatingImage*> floating);

    QSize sizeHint() const override;

    // The zoom of the display (1:1 at first); the widget takes the zoomed
    // size of the bitmap.
    ZoomFactor zoom() const { return zoom_; }
    void setZoom(ZoomFactor zoom);
    // The bitmap pixel shown at a position of the widget (outside the bitmap
    // for positions beyond it).
    QPoint imagePosition(QPointF widgetPosition) const;
    // The part of the widget that shows the bitmap rectangle.
    QRect viewRect(const QRect& imageRect) const;

signals:
    // The mouse over the view; a double click is also a press.
    void pointerPressed(const px::ToolEvent& event);
    void pointerMoved(const px::ToolEvent& event);
    void pointerReleased(const px::ToolEvent& event);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void paintFloatingImage(QPainter& painter, const FloatingImage& floating, const QRect& area) const;

    const Bitmap* bitmap_ = nullptr;
    std::vector<const FloatingImage*> floating_;
    QImage expanded_; // 8-bit copy of a 4-bit bitmap
    BitmapPainter bitmapPainter_;

    QSize zoomedSize() const;
    // The bitmap pixels that the widget rectangle shows.
    QRect imageRect(const QRect& viewRect) const;
    // The paint event of a view zoomed in or out.
    void paintZoomed(QPainter& painter, const QPaintEvent& event);
    void paintBitmap(QPainter& painter, const QRect& area);
    ZoomFactor zoom_;
    ZoomPyramid pyramid_; // halved copies for the zooms below 1
};

} // namespace px
