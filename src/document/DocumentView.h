#pragma once
// A widget that paints a px::Bitmap at its natural size (one bitmap pixel,
// one screen pixel). It is the image window's Image1, and also shows the
// magnifier, the overview and the full-screen view.
//
// Painting does not copy the pixels: a 24-bit bitmap is wrapped by a QImage
// of Format_BGR888, an 8-bit one by Format_Indexed8 and a 1-bit one by
// Format_Mono (both with the bitmap's palette as colour table), each with the
// bitmap's own stride. Qt has no 4-bit format, so a 4-bit bitmap is expanded
// once into an 8-bit copy that is rebuilt whenever bitmapChanged() is called.
#include "graphics/Bitmap.h"

#include <QImage>
#include <QRect>
#include <QWidget>

class QMouseEvent;

namespace px {

// A QImage showing the bitmap: wraps its memory for 1, 8 and 24 bits (valid
// while the bitmap is neither resized nor destroyed), a converted copy for
// 4 bits. Null for an empty bitmap.
QImage imageOfBitmap(const Bitmap& bitmap);

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

    QSize sizeHint() const override;

signals:
    // The drawing tools follow these (positions in bitmap coordinates).
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);
    void mouseDoubleClicked(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const Bitmap* bitmap_ = nullptr;
    QImage expanded_; // 8-bit copy of a 4-bit bitmap
};

} // namespace px
