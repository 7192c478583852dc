#include "platform/qt/QtScreenGrabber.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace px {

// The whole primary screen at its size in device pixels, as 24 bits.
Bitmap QtScreenGrabber::grabScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_BGR888);
    if (shot.isNull() || !Bitmap::isAcceptableSize(shot.width(), shot.height()))
        return {};
    Bitmap bitmap(shot.width(), shot.height(), 24);
    const std::size_t bytes = std::size_t(shot.width()) * 3;
    for (int y = 0; y < shot.height(); ++y)
        std::memcpy(bitmap.row(y), shot.constScanLine(y), bytes);
    return bitmap;
}

} // namespace px
