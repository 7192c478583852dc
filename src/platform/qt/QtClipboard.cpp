#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>

namespace px {

bool QtClipboard::hasImage() const
{
    // mimeData() is null while the clipboard is empty.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

Bitmap QtClipboard::image() const
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull() || !Bitmap::isAcceptableSize(image.width(), image.height()))
        return {};
    // BGR888 has the byte order of a 24-bit bitmap row.
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Bitmap bitmap(bgr.width(), bgr.height(), 24);
    const std::size_t rowBytes = std::size_t(bgr.width()) * 3;
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bitmap.row(y), bgr.constScanLine(y), rowBytes);
    return bitmap;
}

void QtClipboard::setImage(const Bitmap& bitmap)
{
    if (bitmap.isEmpty()) {
        clear();
        return;
    }
    Bitmap converted;
    const Bitmap* source = &bitmap;
    if (bitmap.bitsPerPixel() != 24) {
        converted = bitmap;
        converted.setPixelFormat(24);
        source = &converted;
    }
    // The wrapper borrows the bitmap's rows; copy() gives the clipboard its own.
    const QImage view(source->bits(), source->width(), source->height(), qsizetype(source->stride()),
                      QImage::Format_BGR888);
    QGuiApplication::clipboard()->setImage(view.copy());
}

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

} // namespace px
