#include "graphics/Canvas.h"
#include "graphics/CanvasTestHelpers.h"
#include "graphics/GlyphRasteriser.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::grid;
using test::kBlue;
using test::kRed;
using test::sameImage;
using test::white;

// Every character is a 3 x 4 cell: column 0 at 40% coverage, column 1 at
// 60%, column 2 at 50% in the top row only.
class BarGlyphs : public GlyphRasteriser {
public:
    void measure(const FontSpec&, std::string_view utf8, int& width, int& height, int& ascent) const override
    {
        width = 3 * int(utf8.size());
        height = 4;
        ascent = 3;
    }
    GlyphMask render(const FontSpec& font, std::string_view utf8) const override
    {
        GlyphMask m;
        measure(font, utf8, m.width, m.height, m.ascent);
        m.coverage.assign(std::size_t(m.width * m.height), 0);
        for (int y = 0; y < m.height; ++y)
            for (std::size_t i = 0; i < utf8.size(); ++i) {
                m.coverage[std::size_t(y * m.width) + 3 * i] = 102;
                m.coverage[std::size_t(y * m.width) + 3 * i + 1] = 153;
                if (y == 0)
                    m.coverage[std::size_t(y * m.width) + 3 * i + 2] = 128;
            }
        return m;
    }
};

// A blue font on an 8 x 5 white bitmap.
class CanvasText : public ::testing::Test {
protected:
    CanvasText() { canvas.setFont(FontSpec{.colour = kBlue}); }
    BarGlyphs glyphs;
    Bitmap b = white(8, 5);
    Canvas canvas{b, &glyphs};
};

TEST_F(CanvasText, GlyphPixelsTakeTheFontColourAtHalfCoverageOrMore)
{
    canvas.setBrushHollow(true);
    EXPECT_EQ(canvas.textExtent("ab"), (Size{6, 4}));
    EXPECT_EQ(canvas.textOut(1, 1, "ab"), (Rect{2, 1, 7, 5}));
    EXPECT_TRUE(sameImage("text-transparent", b,
                          grid({"........",
                                "..bb.bb.",
                                "..b..b..",
                                "..b..b..",
                                "..b..b.."})));
}

TEST_F(CanvasText, SolidBrushFillsTheTextCellFirst)
{
    canvas.setBrushColour(kRed);
    canvas.setPenMode(MixMode::NotXor); // text ignores the mix mode
    EXPECT_EQ(canvas.textOut(-1, 2, "ab"), (Rect{0, 2, 5, 5}));
    EXPECT_TRUE(sameImage("text-opaque", b,
                          grid({"........",
                                "........",
                                "bbrbb...",
                                "brrbr...",
                                "brrbr..."})));
}

TEST_F(CanvasText, NothingWithoutARasteriserOrText)
{
    Canvas none(b);
    EXPECT_EQ(none.textExtent("abc"), (Size{0, 0}));
    EXPECT_TRUE(none.textOut(0, 0, "abc").isEmpty());
    EXPECT_TRUE(canvas.textOut(0, 0, "").isEmpty());
    EXPECT_TRUE(canvas.textOut(2000000000, 0, "abc").isEmpty());
    EXPECT_TRUE(sameImage("text-none", b, white(8, 5)));
}

} // namespace
} // namespace px
