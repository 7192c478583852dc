#pragma once
// Text coverage masks from the toolkit's fonts, for the canvas. Point sizes
// are taken at 96 pixels per inch whatever the screen says, so that a text
// has the same size in every document and test.
#include "graphics/GlyphRasteriser.h"

class QFont;

namespace px {

class QtGlyphRasteriser : public GlyphRasteriser {
public:
    void measure(const FontSpec& font, std::string_view utf8, int& width, int& height, int& ascent) const override;
    GlyphMask render(const FontSpec& font, std::string_view utf8) const override;

    // The toolkit font for a font description (exposed for the text dialog's
    // preview, which must show the same glyphs).
    static QFont toQFont(const FontSpec& font);
};

} // namespace px
