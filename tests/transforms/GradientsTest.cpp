// The eight gradient styles: colour steps, coverage, and the pixels of the
// figures they are made of.
#include "transforms/Gradients.h"
#include "effects/EffectTestHelpers.h"
#include "graphics/Canvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace px {
namespace {

using test::filled;
using test::grey;

TEST(GradientScale, TruncatesTowardsZeroAndGivesZeroWithoutSteps)
{
    EXPECT_EQ(gradientScale(1, 255, 2), 127);
    EXPECT_EQ(gradientScale(1, -255, 2), -127);
    EXPECT_EQ(gradientScale(65535, 65535, 3), 65535LL * 65535 / 3);
    EXPECT_EQ(gradientScale(0, 200, 0), 0);
    // Channels step separately and keep their low byte.
    EXPECT_EQ(gradientColour(makeColour(10, 200, 0), makeColour(20, 100, 255), 1, 2), makeColour(15, 150, 127));
}

// Every style covers the whole image, except that the first ellipse of
// "Elliptic" misses the corners of very small images (its box is cut to
// whole pixels).
TEST(Gradient, EqualColoursFillTheWholeImageInEveryStyle)
{
    const Colour c = makeColour(12, 34, 56);
    for (int style = 0; style < kGradientStyleCount; ++style)
        for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {40, 30}, {3, 41}, {301, 200}}) {
            if (GradientStyle(style) == GradientStyle::Elliptic && w * h < 1000)
                continue;
            Bitmap b = filled(w, h, kWhite);
            renderGradient(b, GradientStyle(style), c, c);
            EXPECT_TRUE(b == filled(w, h, c)) << kGradientStyleNames[std::size_t(style)] << " " << w << "x" << h;
        }
}

TEST(Gradient, BandsAndCentredRowsStepAsTheRulesSay)
{
    // Horizontal over 256 columns: column i is step i of 255.
    Bitmap h(256, 2, 24);
    renderGradient(h, GradientStyle::Horizontal, kBlack, kWhite);
    for (int x : {0, 1, 128, 255}) {
        EXPECT_EQ(h.pixel(x, 0), grey(x));
        EXPECT_EQ(h.pixel(x, 1), grey(x));
    }
    // Vertical over 3 rows: band i covers rows i*3 div 256 .. (i+1)*3 div
    // 256 - 1, which is empty but for bands 85, 170 and 255.
    Bitmap v(2, 3, 24);
    renderGradient(v, GradientStyle::Vertical, kBlack, grey(255));
    EXPECT_EQ(v.pixel(1, 0), grey(85));
    EXPECT_EQ(v.pixel(1, 1), grey(170));
    EXPECT_EQ(v.pixel(1, 2), grey(255));
    // VertCentre over 5 rows, m = 2: rows 0, 1 + 4, 2 + 3 take steps 0, 1, 2.
    Bitmap vc(3, 5, 24);
    renderGradient(vc, GradientStyle::VertCentre, kBlack, grey(200));
    for (auto [y, value] : {std::pair{0, 0}, {1, 100}, {2, 200}, {3, 200}, {4, 100}})
        EXPECT_EQ(vc.pixel(2, y), grey(value)) << y;
    // HorizCentre over 4 columns, m = 2: columns 0, 1 + 3, 2.
    Bitmap hc(4, 2, 24);
    renderGradient(hc, GradientStyle::HorizCentre, grey(50), grey(250));
    for (auto [x, value] : {std::pair{0, 50}, {1, 150}, {2, 250}, {3, 150}})
        EXPECT_EQ(hc.pixel(x, 1), grey(value)) << x;
}

// The nested figures are painted row by row, each only where the next one
// does not reach: the result must be that of drawing every figure whole in
// turn with the canvas, as the rules describe them.
Bitmap figureByFigure(int w, int h, GradientStyle style, Colour start, Colour end)
{
    Bitmap b = filled(w, h, kWhite);
    Canvas canvas(b);
    auto colour = [&](Colour c) {
        canvas.setPenColour(c);
        canvas.setBrushColour(c);
    };
    if (style == GradientStyle::Rectangle) {
        double l = 0, t = 0, r = w + 2, bt = h + 2;
        for (int i = 0; i <= 255; ++i) {
            l += w / 2.0 / 255, t += h / 2.0 / 255, r -= w / 2.0 / 255, bt -= h / 2.0 / 255;
            colour(gradientColour(start, end, i, 255));
            canvas.rectangle(int(l), int(t), int(r), int(bt));
        }
    } else if (style == GradientStyle::Elliptic) {
        double l = -w / 4.0, t = -h / 4.0, r = w + w / 4.0 + 4, bt = h + h / 4.0 + 4;
        for (int i = 0; i <= 155; ++i) {
            l += (w / 2.0 + w / 4.0) / 155, t += (h / 2.0 + h / 4.0) / 155;
            r -= (w / 2.0 + w / 4.0) / 155, bt -= (h / 2.0 + h / 4.0) / 155;
            colour(gradientColour(start, end, i, 155));
            canvas.ellipse(int(l), int(t), int(r), int(bt));
        }
    } else {
        const int rad = std::max(w, h) / 2;
        auto ray = [&](int a, bool x) {
            const double v = rad * (x ? std::sin(a * std::numbers::pi / 180) : std::cos(a * std::numbers::pi / 180));
            return x ? w / 2 + int(std::nearbyint(v)) : h / 2 - int(std::nearbyint(v));
        };
        for (int a = 0; a < 360; ++a) {
            const int step = style == GradientStyle::Radial1 ? (a < 180 ? a : 359 - a)
                             : a < 90                        ? a
                             : a < 180                       ? 179 - a
                             : a < 270                       ? a - 180
                                                             : 359 - a;
            colour(gradientColour(start, end, step, style == GradientStyle::Radial1 ? 180 : 90));
            canvas.pie(-w / 4, -h / 4, w + w / 4, h + h / 4, ray(a + 2, true), ray(a + 2, false), ray(a, true),
                       ray(a, false));
        }
    }
    return b;
}

class NestedFigures : public ::testing::TestWithParam<GradientStyle> {};

TEST_P(NestedFigures, PaintWhatDrawingEveryFigureInTurnPaints)
{
    const Colour start = makeColour(250, 10, 90), end = makeColour(3, 240, 128);
    for (auto [w, h] :
         {std::pair{1, 1}, {2, 3}, {13, 7}, {60, 45}, {45, 60}, {127, 19}, {256, 256}, {301, 77}, {4, 150}}) {
        Bitmap b = filled(w, h, kWhite);
        renderGradient(b, GetParam(), start, end);
        const Bitmap expected = figureByFigure(w, h, GetParam(), start, end);
        EXPECT_TRUE(b == expected) << w << "x" << h << " " << test::dumpMismatch("gradient", b, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, NestedFigures,
                         ::testing::Values(GradientStyle::Rectangle, GradientStyle::Elliptic, GradientStyle::Radial1,
                                           GradientStyle::Radial2));

// Radial1 runs start -> end -> start once round the circle: just right of
// straight up is slice 0 (step 0); on either side of straight down are
// slices 179 (step 179) and 180 (step 359 - 180); straight right is slice
// 90, whose first ray it lies on.
TEST(Gradient, RadialGoesOnceRound)
{
    Bitmap b(301, 301, 24);
    renderGradient(b, GradientStyle::Radial1, kBlack, grey(180));
    EXPECT_EQ(b.pixel(151, 10), grey(0));
    EXPECT_EQ(b.pixel(149, 290), grey(179));
    EXPECT_EQ(b.pixel(151, 290), grey(179));
    EXPECT_EQ(b.pixel(290, 150), grey(90));
}

} // namespace
} // namespace px
