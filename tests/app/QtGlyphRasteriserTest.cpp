#include "platform/qt/QtGlyphRasteriser.h"
#include "graphics/Canvas.h"

#include <gtest/gtest.h>

namespace px {
namespace {

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);

FontSpec font(int points)
{
    FontSpec f;
    f.family = "DejaVu Sans";
    f.pointSize = points;
    f.colour = kRed;
    return f;
}

struct Census {
    int text = 0;       // pixels in the text colour
    int background = 0; // pixels in the cell colour
    int other = 0;
};

// Counts colours inside and outside the text cell at (x, y).
void census(const Bitmap& b, Rect cell, Colour cellColour, Census& inside, Census& outside)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            Census& c = cell.contains(x, y) ? inside : outside;
            const Colour p = b.pixel(x, y);
            if (p == kRed)
                ++c.text;
            else if (p == cellColour)
                ++c.background;
            else
                ++c.other;
        }
}

// Transparent text stays inside its extent in hard-edged pixels; an opaque
// background fills the whole extent.
TEST(QtGlyphRasteriser, TextOutFillsItsExtentOnlyWithHardEdgedPixels)
{
    QtGlyphRasteriser glyphs;
    for (bool hollow : {true, false}) {
        SCOPED_TRACE(hollow ? "transparent" : "opaque");
        Bitmap b(200, 80, 24);
        b.fill(kWhite);
        Canvas c(b, &glyphs);
        c.setFont(font(20));
        c.setBrushColour(kGreen);
        c.setBrushHollow(hollow);
        const Size extent = c.textExtent("Ab");
        ASSERT_GT(extent.width, 0);
        ASSERT_GT(extent.height, 0);
        const Rect changed = c.textOut(5, 7, "Ab");
        const Rect cell{5, 7, 5 + extent.width, 7 + extent.height};
        const Colour cellColour = hollow ? kWhite : kGreen;
        if (hollow)
            EXPECT_EQ(changed.intersected(cell), changed);
        else
            EXPECT_EQ(changed, cell);
        Census in, out;
        census(b, cell, cellColour, in, out);
        EXPECT_GT(in.text, 20);      // "Ab" at 20 points covers many pixels
        EXPECT_GT(in.background, 0); // ... but not the whole cell
        EXPECT_EQ(in.other, 0);      // no blended edge colours
        EXPECT_EQ(out.text, 0);
        EXPECT_EQ(hollow ? out.other : out.background, 0); // white stays white outside
    }
}

TEST(QtGlyphRasteriser, ExtentGrowsWithThePointSizeAndTheMaskMatchesIt)
{
    QtGlyphRasteriser glyphs;
    int lastW = 0, lastH = 0;
    for (int points : {8, 20, 36}) {
        int w = 0, h = 0, ascent = 0;
        glyphs.measure(font(points), "Ab", w, h, ascent);
        EXPECT_GT(w, lastW) << points;
        EXPECT_GT(h, lastH) << points;
        EXPECT_GT(ascent, 0);
        EXPECT_LT(ascent, h);
        lastW = w;
        lastH = h;
    }
    int w1, w2, h, a;
    glyphs.measure(font(12), "Ab", w1, h, a);
    glyphs.measure(font(12), "AbAb", w2, h, a);
    EXPECT_GT(w2, w1) << "a longer text is wider";

    // The mask has the measured size; an empty text has none.
    int w, h3, a3;
    glyphs.measure(font(14), "éà Ab", w, h3, a3);
    const GlyphMask m = glyphs.render(font(14), "éà Ab");
    EXPECT_EQ(m.width, w);
    EXPECT_EQ(m.height, h3);
    EXPECT_EQ(m.ascent, a3);
    ASSERT_EQ(m.coverage.size(), std::size_t(w) * std::size_t(h3));
    const GlyphMask empty = glyphs.render(font(14), "");
    EXPECT_EQ(empty.width, 0);
    EXPECT_GT(empty.height, 0);
    EXPECT_TRUE(empty.coverage.empty());
}

} // namespace
} // namespace px
