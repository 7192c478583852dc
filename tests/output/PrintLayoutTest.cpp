// The preview's reduction, page area and image rectangle, and the printed
// rectangle, from the rules worked by hand.
#include "output/PrintLayout.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

struct ReductionCase {
    const char* name;
    Size screen;
    Size page;
    Size view;
    Size area;  // page area
    Size image; // bitmap
    PrintFactors factors;
    Rect imageRect; // in the page area
};

void PrintTo(const ReductionCase& c, std::ostream* os)
{
    *os << c.name;
}

class PreviewGeometry : public ::testing::TestWithParam<ReductionCase> {};

TEST_P(PreviewGeometry, PageAreaAndImageRectangle)
{
    const ReductionCase& c = GetParam();
    const PreviewReduction r = previewReduction(c.screen, c.page, c.view);
    EXPECT_EQ(previewPageArea(c.page, r), c.area);
    EXPECT_EQ(previewImageRect(c.image, c.factors, r), c.imageRect);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PreviewGeometry,
    ::testing::Values(
        // 4800 / 5 = 960, 6600 / 5 = 1320; 300 / 5 = 60, 200 / 5 = 40 from (10, 10).
        ReductionCase{
            "Worked1024", {1024, 768}, {4800, 6600}, {1000, 600}, {960, 1320}, {300, 200}, {1, 1}, {10, 10, 70, 50}},
        // "Largeur de l'image :" at 3: 900 / 5 = 180 wide, the height unchanged.
        ReductionCase{
            "Width3", {1024, 768}, {4800, 6600}, {1000, 600}, {960, 1320}, {300, 200}, {3, 1}, {10, 10, 190, 50}},
        // 800 x 600 divides by 7: 4800 / 7 = 685, 6600 / 7 = 942; 300 * 2 / 7 = 85, 200 * 4 / 7 = 114.
        ReductionCase{
            "Screen800", {800, 600}, {4800, 6600}, {700, 500}, {685, 942}, {300, 200}, {2, 4}, {10, 10, 95, 124}},
        // 1920 x 1080, a 1000 x 520 view: the page fits (520 - 40) / 6600 on the height:
        // 4800 * 480 / 6600 = 349, 6600 -> 480; 300 * 480 / 6600 = 21, 200 * 480 / 6600 = 14.
        ReductionCase{
            "FitHeight", {1920, 1080}, {4800, 6600}, {1000, 520}, {349, 480}, {300, 200}, {1, 1}, {10, 10, 31, 24}},
        // An A0 page at 1200 dpi divided by 5 would be 7946 x 11232: fitted instead,
        // (520 - 40) / 56160: 39732 * 480 / 56160 = 339.
        ReductionCase{
            "HugePage", {1024, 768}, {39732, 56160}, {1000, 520}, {339, 480}, {300, 200}, {1, 1}, {10, 10, 12, 11}},
        // A landscape page in a tall view fits on the width: (420 - 20) / 6600;
        // 6600 -> 400, 4800 * 400 / 6600 = 290; 660 * 400 / 6600 = 40, 330 * 400 / 6600 = 20.
        ReductionCase{
            "FitWidth", {1280, 1024}, {6600, 4800}, {420, 900}, {400, 290}, {330, 660}, {2, 1}, {10, 10, 50, 50}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewGeometry, PageAreaIsCentredButNeverAboveOrLeftOfTheView)
{
    // (1000 - 400) / 2 = 300; (600 - 300) / 2 - 10 = 140.
    EXPECT_EQ(previewPagePosition({1000, 600}, {400, 300}), (Point{300, 140}));
    // The worked example's 960 x 1320 area in a 1000 x 600 view would start at
    // y = (600 - 1320) / 2 - 10 = -370, out of reach of the scroll bars.
    EXPECT_EQ(previewPagePosition({1000, 600}, {960, 1320}), (Point{20, 0}));
}

TEST(PrintTarget, FactorsMultiplyTheImageTenPixelsFromTheCorner)
{
    EXPECT_EQ(printTargetRect({300, 200}, {1, 1}), (Rect{10, 10, 310, 210}));
    EXPECT_EQ(printTargetRect({300, 200}, {2, 2}), (Rect{10, 10, 610, 410}));
    EXPECT_EQ(printTargetRect({300, 200}, {3, 1}), (Rect{10, 10, 910, 210}));
}

TEST(DrawPreview, ClearsToWhiteAndStretchesTheImage)
{
    const Colour red = 0x0000FF;
    Bitmap area = test::fromAscii({"####", "####", "####", "####"}); // stale content
    area.resize(14, 14);
    const Bitmap image = test::fromAscii({"#r", "r#"}, {{'r', red}});
    // No reduction, width factor 2: columns 10..13 get # # r r, rows 10..11.
    drawPreview(area, image, {2, 1}, PreviewReduction{});
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            Colour expected = kWhite;
            if (y >= 10 && y < 12 && x >= 10) {
                const bool left = x < 12;
                expected = (y == 10) == left ? kBlack : red;
            }
            ASSERT_EQ(area.pixel(x, y), expected) << x << "," << y;
        }
}

} // namespace
} // namespace px
