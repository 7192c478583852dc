// Text: the glyph rasteriser gives a coverage mask of the line, which is
// drawn hard-edged in the font colour.
#include "graphics/Canvas.h"
#include "graphics/GlyphRasteriser.h"

#include <algorithm>

namespace px {

Size Canvas::textExtent(std::string_view utf8) const
{
    if (!glyphs_)
        return {};
    int w = 0, h = 0, ascent = 0;
    glyphs_->measure(font_, utf8, w, h, ascent);
    return {std::max(w, 0), std::max(h, 0)};
}

Rect Canvas::textOut(int x, int y, std::string_view utf8)
{
    begin();
    if (!glyphs_)
        return finish();
    const GlyphMask mask = glyphs_->render(font_, utf8);
    if (mask.width <= 0 || mask.height <= 0 ||
        mask.coverage.size() < std::size_t(mask.width) * std::size_t(mask.height))
        return finish();
    x = std::clamp(x, -(1 << 30), 1 << 30);
    y = std::clamp(y, -(1 << 30), 1 << 30);
    const Rect cell = Rect{x, y, x + mask.width, y + mask.height}.intersected(bounds());
    if (cell.isEmpty())
        return finish();
    if (backgroundOpaque())
        fillBlock(cell, {true, brushColour_});
    const Colour c = font_.colour & 0xFFFFFF;
    for (int row = cell.top; row < cell.bottom; ++row) {
        const std::uint8_t* cov = mask.coverage.data() + std::size_t(row - y) * std::size_t(mask.width);
        std::uint8_t* out = bmp_->row(row);
        for (int col = cell.left; col < cell.right; ++col) {
            // At least half covered: the pixel takes the text colour.
            if (cov[col - x] < 128)
                continue;
            std::uint8_t* p = out + std::size_t(col) * 3;
            p[0] = blueOf(c);
            p[1] = greenOf(c);
            p[2] = redOf(c);
            mark({col, row, col + 1, row + 1});
        }
    }
    return finish();
}

} // namespace px
