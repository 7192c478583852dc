#pragma once
// Turns a line of text into a coverage mask, so that the canvas can draw text
// without knowing how fonts are read. The application hands the canvas an
// implementation built on the toolkit's fonts.
#include "graphics/Font.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace px {

// Coverage of one line of text: width x height bytes, row by row, 0 where no
// glyph covers the pixel, 255 where one covers it fully. The box is the text
// cell: as wide as the text's advance, as high as the font's line height,
// with the baseline `ascent` pixels below its top.
struct GlyphMask {
    int width = 0;
    int height = 0;
    int ascent = 0;
    std::vector<std::uint8_t> coverage;
};

class GlyphRasteriser {
public:
    virtual ~GlyphRasteriser() = default;
    // Width and height of the text cell of `utf8` in `font` (height is the
    // font's line height even for an empty text; width 0 then).
    virtual void measure(const FontSpec& font, std::string_view utf8, int& width, int& height, int& ascent) const = 0;
    // The coverage mask of `utf8` in `font`, sized as measure() says.
    virtual GlyphMask render(const FontSpec& font, std::string_view utf8) const = 0;
};

} // namespace px
