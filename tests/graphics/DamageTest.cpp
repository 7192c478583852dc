// The changed pixels kept as a few rectangles: what merges, what stays
// apart, and what the canvas records for figures.
#include "graphics/Damage.h"
#include "graphics/Canvas.h"

#include <gtest/gtest.h>

namespace px {
namespace {

TEST(Damage, RowsOfOneSpanMergeAndDistantPartsStayApart)
{
    Damage d;
    for (int y = 0; y < 10; ++y)
        d.add(Rect{5, y, 9, y + 1});
    ASSERT_EQ(d.rects().size(), 1u);
    EXPECT_EQ(d.rects()[0], (Rect{5, 0, 9, 10}));
    d.add(Rect{500, 0, 501, 1});
    EXPECT_EQ(d.rects().size(), 2u);
    EXPECT_EQ(d.bounds(), (Rect{5, 0, 501, 10}));
    EXPECT_EQ(d.area(), 41);
    d.add(Rect{});
    EXPECT_EQ(d.rects().size(), 2u) << "an empty rectangle adds nothing";
}

// A merge is taken while the merged rectangle stays half covered.
TEST(Damage, MergesOnlyWhileHalfCovered)
{
    Damage d;
    d.add(Rect{0, 0, 100, 1});
    d.add(Rect{0, 1, 1, 2}); // 200 pixels for 101 changed: merged
    EXPECT_EQ(d.rects().size(), 1u);
    d.add(Rect{0, 2, 1, 3}); // 300 pixels for 102: apart
    EXPECT_EQ(d.rects().size(), 2u);
}

TEST(Damage, CollapsesIntoItsBoundsPastTheLimit)
{
    Damage d;
    for (std::size_t i = 0; i <= Damage::kMaxRects; ++i)
        d.add(Rect{int(i) * 100, int(i) * 100, int(i) * 100 + 1, int(i) * 100 + 1});
    ASSERT_EQ(d.rects().size(), 1u);
    EXPECT_EQ(d.rects()[0], (Rect{0, 0, int(Damage::kMaxRects) * 100 + 1, int(Damage::kMaxRects) * 100 + 1}));
}

struct FigureCase {
    const char* name;
    int penWidth;
    bool hollow;
    double maxShare; // of the bounding rectangle's area
};

class FigureDamage : public ::testing::TestWithParam<FigureCase> {};

// An outline's damage covers every pixel the figure changed and stays a
// small part of its bounding rectangle; a filled figure covers its area.
TEST_P(FigureDamage, CoversTheChangedPixelsAndLittleElse)
{
    const FigureCase& c = GetParam();
    Bitmap bitmap(400, 300, 24);
    bitmap.fill(kWhite);
    const Bitmap before = bitmap;
    Canvas canvas(bitmap);
    canvas.setPenWidth(c.penWidth);
    canvas.setBrushHollow(c.hollow);
    canvas.setBrushColour(kBlack);
    const Rect bounds = std::string(c.name).find("Ellipse") == 0 ? canvas.ellipse(20, 10, 380, 290)
                                                                 : canvas.rectangle(20, 10, 380, 290);
    const Damage& damage = canvas.lastDamage();
    EXPECT_EQ(damage.bounds(), bounds);
    EXPECT_LE(double(damage.area()), c.maxShare * bounds.width() * bounds.height());
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) != before.pixel(x, y)) {
                bool covered = false;
                for (const Rect& r : damage.rects())
                    covered = covered || r.contains(x, y);
                ASSERT_TRUE(covered) << x << "," << y;
            }
}

INSTANTIATE_TEST_SUITE_P(Figures, FigureDamage,
                         ::testing::Values(FigureCase{"RectangleThin", 1, true, 0.02},
                                           FigureCase{"RectangleWide", 9, true, 0.15},
                                           FigureCase{"EllipseThin", 1, true, 0.10},
                                           FigureCase{"RectangleFilled", 1, false, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace px
