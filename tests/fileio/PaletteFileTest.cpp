#include "fileio/PaletteFile.h"
#include "graphics/HalftonePalette.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace px {
namespace {

const Colour A = makeColour(1, 2, 3);
const Colour B = makeColour(250, 128, 7);

TEST(PaletteText, ReadsCountThenOneColourPerLine)
{
    const auto colours = parsePaletteText("2\r\n1 2 3\r\n250   128\t7\r\n");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0], A);
    EXPECT_EQ(colours[1], B);
}

TEST(PaletteText, CountOver236IsReadAs236)
{
    std::string text = "300\n";
    for (int i = 0; i < 300; ++i)
        text += std::to_string(i % 256) + " 0 0\n";
    const auto colours = parsePaletteText(text);
    ASSERT_EQ(colours.size(), 236u);
    EXPECT_EQ(colours[235], makeColour(235, 0, 0));
}

TEST(PaletteText, ClampsChannelsAndIgnoresExtraValuesOnALine)
{
    const auto colours = parsePaletteText("2\n300 -4 99999999999999999999 5\n\n7 8 9\n");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0], makeColour(255, 0, 255));
    EXPECT_EQ(colours[1], makeColour(7, 8, 9));
}

class RefusedPaletteText : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedPaletteText, Throws)
{
    EXPECT_THROW(parsePaletteText(GetParam()), PaletteFileError);
}

INSTANTIATE_TEST_SUITE_P(Malformed, RefusedPaletteText,
                         ::testing::Values("", "0\n", "-3\n1 2 3\n", "abc\n", "3\n1 2 3\n4 5 6\n", "1\n1 2\n",
                                           "1\n1 x 3\n"));

TEST(PaletteFromFile, TwoColoursRepeatCyclicallyBetweenTheStaticEntries)
{
    const auto& system = halftonePalette();
    const LogicalPalette p = paletteFromFileColours({A, B}, system);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(p.colours[i], system[i]);
        EXPECT_EQ(p.flags[i], 0);
        EXPECT_EQ(p.colours[246 + i], system[246 + i]);
        EXPECT_EQ(p.flags[246 + i], 0);
    }
    for (int i = 10; i <= 245; ++i) {
        EXPECT_EQ(p.colours[i], (i % 2 == 0) ? A : B) << "entry " << i;
        EXPECT_EQ(p.flags[i], LogicalPalette::kReserved);
    }
}

TEST(PaletteFromFile, ThreeColoursRepeatFromTheFirst)
{
    const Colour C = makeColour(9, 9, 9);
    const LogicalPalette p = paletteFromFileColours({A, B, C}, halftonePalette());
    EXPECT_EQ(p.colours[10], A);
    EXPECT_EQ(p.colours[12], C);
    EXPECT_EQ(p.colours[13], A);
    EXPECT_EQ(p.colours[245], B); // k = 235 = 3 * 78 + 1
}

TEST(PaletteFile, WrittenFileReadsBack)
{
    test::TempDir dir;
    const auto path = dir.file("essai.pal");
    writePaletteFile(path, {A, B});
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "2\r\n1 2 3\r\n250 128 7\r\n");
    const auto colours = readPaletteFile(path);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[1], B);
}

TEST(PaletteFile, MissingFileIsReportedWithItsName)
{
    test::TempDir dir;
    try {
        readPaletteFile(dir.file("absent.pal"));
        FAIL() << "no error";
    } catch (const PaletteFileError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.pal"), std::string::npos);
    }
}

} // namespace
} // namespace px
