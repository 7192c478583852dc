#include "platform/qt/BitmapPainter.h"

#include "graphics/ViewZoom.h"

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
        // The zoomed view's row conversion, vectorised where the processor
        // allows it.
        for (int y = top; y < top + rows; ++y, out += width)
            fetchRowRgb32(bitmap, y, part.left(), part.right() + 1, out);
        const QImage strip(reinterpret_cast<const uchar*>(scratch_.data()), width, rows, qsizetype(width) * 4,
                           QImage::Format_RGB32);
        painter.drawImage(QPoint(part.left(), top), strip);
    }
}

} // namespace px
