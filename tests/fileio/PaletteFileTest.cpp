#include "fileio/PaletteFile.h"
#include "fileio/FileTestSupport.h"
#include "graphics/HalftonePalette.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

const Colour A = makeColour(1, 2, 3);
const Colour B = makeColour(250, 128, 7);

TEST(PaletteText, ReadsCountThenOneColourPerLineClampingChannels)
{
    EXPECT_EQ(parsePaletteText("2\r\n1 2 3\r\n250   128\t7\r\n"), (std::vector<Colour>{A, B}));
    // Out-of-range values are clamped, values past the third and blank lines ignored.
    EXPECT_EQ(parsePaletteText("2\n300 -4 99999999999999999999 5\n\n7 8 9\n"),
              (std::vector<Colour>{makeColour(255, 0, 255), makeColour(7, 8, 9)}));
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

class RefusedPaletteText : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedPaletteText, Throws)
{
    EXPECT_THROW(parsePaletteText(GetParam()), PaletteFileError);
}

INSTANTIATE_TEST_SUITE_P(Malformed, RefusedPaletteText,
                         ::testing::Values("", "0\n", "-3\n1 2 3\n", "abc\n", "3\n1 2 3\n4 5 6\n", "1\n1 2\n",
                                           "1\n1 x 3\n"));

TEST(PaletteFromFile, ColoursRepeatCyclicallyBetweenTheStaticEntries)
{
    const std::vector<Colour> file = {A, B, makeColour(9, 9, 9)};
    const auto& system = halftonePalette();
    const LogicalPalette p = paletteFromFileColours(file, system);
    for (int i = 0; i < 256; ++i) {
        const bool isStatic = i < 10 || i > 245;
        // Entry 245 is k = 235 = 3 * 78 + 1: the second colour.
        const Colour expected = isStatic ? system[i] : file[(i - 10) % 3];
        EXPECT_EQ(p.colours[i], expected) << "entry " << i;
        EXPECT_EQ(p.flags[i], isStatic ? 0 : LogicalPalette::kReserved) << "entry " << i;
    }
}

TEST(PaletteFile, WrittenFileReadsBackAndAMissingOneIsNamed)
{
    test::TempDir dir;
    const auto path = dir.file("essai.pal");
    writePaletteFile(path, {A, B});
    const test::Bytes text = test::readAll(path);
    EXPECT_EQ(std::string(text.begin(), text.end()), "2\r\n1 2 3\r\n250 128 7\r\n");
    EXPECT_EQ(readPaletteFile(path), (std::vector<Colour>{A, B}));
    try {
        readPaletteFile(dir.file("absent.pal"));
        FAIL() << "no error";
    } catch (const PaletteFileError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.pal"), std::string::npos);
    }
}

} // namespace
} // namespace px
