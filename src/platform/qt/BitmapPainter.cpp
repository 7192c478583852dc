#include "platform/qt/BitmapPainter.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace px {

void BitmapPainter::paint(QPainter& painter, const Bitmap& bitmap, const QRect& area)
{
    const QRect part = area & QRect(0, 0, bitmap.width(), bitmap.height());
    if (part.isEmpty() || bitmap.bitsPerPixel() != 24)
        return;
    const int width = part.width();
    const int rowsPerStrip = std::max(1, kStripPixels / width);
    scratch_.resize(std::size_t(width) * std::size_t(std::min(rowsPerStrip, part.height())));
    for (int top = part.top(); top <= part.bottom(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, part.bottom() + 1 - top);
        std::uint32_t* out = scratch_.data();
        for (int y = top; y < top + rows; ++y) {
            const std::uint8_t* in = bitmap.row(y) + std::size_t(part.left()) * 3;
            for (int x = 0; x < width; ++x, in += 3)
                *out++ = 0xFF000000u | (std::uint32_t(in[2]) << 16) | (std::uint32_t(in[1]) << 8) | in[0];
        }
        const QImage strip(reinterpret_cast<const uchar*>(scratch_.data()), width, rows, qsizetype(width) * 4,
                           QImage::Format_RGB32);
        painter.drawImage(QPoint(part.left(), top), strip);
    }
}

} // namespace px
