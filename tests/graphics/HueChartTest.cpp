#include "graphics/HalftonePalette.h"
#include "graphics/HueChart.h"

#include <gtest/gtest.h>

namespace px {
namespace {

struct SpectrumCase {
    int x, y;
    int r, g, b;
};

class SpectrumPixels : public ::testing::TestWithParam<SpectrumCase> {};

// Hues change every 16 rows (255 / 16 per row, rounded); columns 0..22 scale
// the hue from black, columns 22..44 lift it to white (rounded to nearest).
TEST_P(SpectrumPixels, MatchesTheRule)
{
    const SpectrumCase& c = GetParam();
    EXPECT_EQ(spectrumColour(c.x, c.y), makeColour(c.r, c.g, c.b)) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    CornersAndMiddles, SpectrumPixels,
    ::testing::Values(SpectrumCase{0, 0, 0, 0, 0}, SpectrumCase{44, 0, 255, 255, 255}, SpectrumCase{0, 95, 0, 0, 0},
                      SpectrumCase{44, 95, 255, 255, 255}, SpectrumCase{22, 0, 255, 0, 0},
                      SpectrumCase{22, 8, 255, 128, 0}, SpectrumCase{22, 16, 255, 255, 0},
                      SpectrumCase{22, 32, 0, 255, 0}, SpectrumCase{22, 48, 0, 255, 255},
                      SpectrumCase{22, 64, 0, 0, 255}, SpectrumCase{22, 80, 255, 0, 255},
                      SpectrumCase{22, 95, 255, 0, 16}, SpectrumCase{11, 16, 128, 128, 0},
                      SpectrumCase{33, 64, 128, 128, 255}, SpectrumCase{1, 0, 12, 0, 0},
                      SpectrumCase{43, 32, 243, 255, 243}));

TEST(SpectrumBitmap, Is45By96TrueColourStoredBlueGreenRed)
{
    const Bitmap s = makeSpectrum();
    ASSERT_EQ(s.width(), 45);
    ASSERT_EQ(s.height(), 96);
    ASSERT_EQ(s.bitsPerPixel(), 24);
    const std::uint8_t* p = s.row(64) + 22 * 3; // pure blue
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(s.pixel(22, 16), makeColour(255, 255, 0));
    EXPECT_EQ(spectrumColour(45, 0), kBlack);
}

TEST(HalftonePalette, StaticColoursCubeAndGreys)
{
    const auto& p = halftonePalette();
    EXPECT_EQ(p[0], makeColour(0, 0, 0));
    EXPECT_EQ(p[1], makeColour(128, 0, 0));
    EXPECT_EQ(p[7], makeColour(192, 192, 192));
    EXPECT_EQ(p[8], makeColour(192, 220, 192));
    EXPECT_EQ(p[9], makeColour(166, 202, 240));
    EXPECT_EQ(p[246], makeColour(255, 251, 240));
    EXPECT_EQ(p[247], makeColour(160, 160, 164));
    EXPECT_EQ(p[248], makeColour(128, 128, 128));
    EXPECT_EQ(p[249], makeColour(255, 0, 0));
    EXPECT_EQ(p[255], makeColour(255, 255, 255));
    // Cube: entry 10 + 36 r + 6 g + b.
    EXPECT_EQ(p[10], makeColour(0, 0, 0));
    EXPECT_EQ(p[10 + 36 * 1 + 6 * 2 + 3], makeColour(51, 102, 153));
    EXPECT_EQ(p[225], makeColour(255, 255, 255));
    const int greys[20] = {10, 20, 31, 41, 61, 71, 82, 92, 112, 122, 133, 143, 163, 173, 184, 194, 214, 224, 235, 245};
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(p[226 + i], makeColour(greys[i], greys[i], greys[i])) << "entry " << 226 + i;
}

} // namespace
} // namespace px
