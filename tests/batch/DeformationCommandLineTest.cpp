// The deformation dialogs' commands through `pixoran3 --apply NAME=POSITION`,
// with results worked out by hand from the rules.
#include "batch/CommandLine.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace px {
namespace {

Bitmap greyRow(std::initializer_list<int> values)
{
    Bitmap b(int(values.size()), 1, 24);
    int x = 0;
    for (int v : values)
        b.setPixel(x++, 0, makeColour(v, v, v));
    return b;
}

struct ApplyCase {
    const char* command;
    Bitmap input;
    Bitmap expected;
    const char* why;
};

void PrintTo(const ApplyCase& c, std::ostream* os)
{
    *os << c.command;
}

class DeformationApply : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(DeformationApply, MatchesTheRule)
{
    const ApplyCase& c = GetParam();
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), c.input);
    std::ostringstream out, err;
    const auto code =
        runCommandLine({"--apply", c.command, dir.file("in.bmp").string(), dir.file("out.bmp").string()}, out, err);
    ASSERT_EQ(code, 0) << err.str();
    EXPECT_TRUE(readBmpFile(dir.file("out.bmp")) == c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DeformationApply,
    ::testing::Values(
        // cx = 1, cy = 0. Pixel 2: theta' = pi/2 - 1/300, sample (1.0033, 0.99999)
        // whose rows both wrap to row 0: 0.99667 * 90 + 0.00333 * 180 = 90.3.
        // Pixel 0: theta' = 3 pi/2 - 1/300, sample x 0.99667: 89.7. Pixel 1 is
        // the centre.
        ApplyCase{"Tordre3=300", greyRow({0, 90, 180}), greyRow({90, 90, 90}), "a quarter turn"},
        ApplyCase{"Mirage3=1", greyRow({10, 20, 30, 40, 90}), greyRow({10, 25, 30, 25, 10}),
                  "the whole width blended; a band one pixel high is left"},
        // Hallucination 1 on one row: rows 0 only; x = 0 samples columns 0
        // and 1: (0 + 0 + 40 + 40) / 4 = 20; x = 1 samples the 20 just written
        // and 80: 50; x = 2 samples column 1 twice (W - x = 1): 50.
        ApplyCase{"Allucination2=1", greyRow({0, 40, 80}), greyRow({20, 50, 50}), "reads its own writes"},
        ApplyCase{"Mosaque2=50", greyRow({7, 1, 2}), greyRow({7, 7, 7}), "a block larger than the image"},
        ApplyCase{"Mosaque2=0", greyRow({7, 1, 2}), greyRow({7, 1, 2}), "position 0 applies nothing"}));

TEST(DeformationApply, ListCommandsDocumentsThePositions)
{
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine({"--list-commands"}, out, err), 0);
    const std::string text = out.str();
    for (const char* line : {"Tordre3\tTordre...\tPOSITION(0..300)", "Mirage3\tMirage...\tPOSITION(0..20)",
                             "Allucination2\tHallucination...\tPOSITION(0..200)",
                             "Mosaque2\tMosaïque...\tPOSITION(0..50)", "Fisheye1\tFisheye\t"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

} // namespace
} // namespace px
