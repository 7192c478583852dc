#pragma once
// Paints part of a 24-bit bitmap on the screen. The rows are converted into
// the 32-bit form screens use, in strips of a bounded size, and each strip
// is drawn as it is: Qt then copies rows instead of converting them pixel
// span by pixel span, which matters most for the tall thin bands of an
// outline, and the memory needed stays small whatever the picture's size.
#include "graphics/Bitmap.h"

#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;

namespace px {

class BitmapPainter {
public:
    // Pixels converted per strip at most (a whole column of any picture
    // fits in one strip).
    static constexpr int kStripPixels = 1 << 16;

    // Draws the pixels of `area` (clipped to the bitmap, which must have 24
    // bits per pixel) at the same place on the painter.
    void paint(QPainter& painter, const Bitmap& bitmap, const QRect& area);

private:
    std::vector<std::uint32_t> scratch_;
};

} // namespace px
