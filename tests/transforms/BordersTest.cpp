// Frames, added margins, the blended border and the button bevel.
#include "transforms/Borders.h"
#include "effects/Effect.h"
#include "effects/EffectTestHelpers.h"
#include "support/TestSupport.h"
#include "transforms/BordersPaths.h"

#include <gtest/gtest.h>

#include <random>

namespace px {
namespace {

using test::filled;
using test::fromAscii;
using test::grey;
using test::toAscii;

TEST(AddBorder, TenOnEverySideOfAHundredByFiftyAndEachSideItsOwn)
{
    const Colour bg = makeColour(10, 20, 30), picture = makeColour(200, 100, 50);
    Bitmap b = filled(100, 50, picture);
    AddBorder(b, 10, 10, 10, 10, bg);
    ASSERT_EQ(b.width(), 120);
    ASSERT_EQ(b.height(), 70);
    for (auto [x, y, c] : {std::tuple{9, 10, bg},
                           {10, 10, picture},
                           {109, 59, picture},
                           {110, 59, bg},
                           {10, 9, bg},
                           {109, 60, bg},
                           {0, 0, bg},
                           {119, 69, bg}})
        EXPECT_EQ(b.pixel(x, y), c) << x << "," << y;
    // Each side its own width.
    Bitmap one = fromAscii({"#"});
    AddBorder(one, 1, 0, 2, 3, kWhite);
    EXPECT_EQ(toAscii(one), "......\n..#...\n");
    // A result beyond 65535 pixels a side is refused before anything changes.
    Bitmap wide = filled(65000, 1, kBlack);
    EXPECT_THROW(AddBorder(wide, 0, 0, 400, 400, kWhite), EffectError);
    EXPECT_EQ(wide.width(), 65000);
}

// A frame of width 1 covers the outline of the image; "Solide" fills the
// inside with the canvas's brush colour, "Transparent" leaves it.
TEST(SimpleFrame, OutlineInTheMainColourWithTheCanvasState)
{
    const Colour main = makeColour(255, 0, 0), brush = makeColour(0, 0, 255);
    const std::initializer_list<std::pair<char, Colour>> legend = {{'m', main}, {'b', brush}, {'.', kWhite}};
    Bitmap b = filled(5, 4, kWhite);
    Canvas canvas(b);
    canvas.setBrushColour(brush);
    SimpleFrame(canvas, false, 1, main);
    EXPECT_EQ(toAscii(b, legend), "mmmmm\nm...m\nm...m\nmmmmm\n");
    EXPECT_TRUE(canvas.brushHollow());
    SimpleFrame(canvas, true, 0, main);
    EXPECT_EQ(toAscii(b, legend), "mmmmm\nmbbbm\nmbbbm\nmmmmm\n");
    EXPECT_FALSE(canvas.brushHollow());
    EXPECT_EQ(canvas.penColour(), main);
    EXPECT_EQ(canvas.brushColour(), brush);
    // A wide pen straddles the edge: 4 pixels wide shows 2.
    Bitmap wide = filled(8, 8, kWhite);
    Canvas wideCanvas(wide);
    SimpleFrame(wideCanvas, false, 4, main);
    EXPECT_EQ(wide.pixel(1, 4), main);
    EXPECT_EQ(wide.pixel(2, 4), kWhite);
    EXPECT_EQ(wideCanvas.penWidth(), 4);
}

// Width 1: the top line (0, 0)-(W, 0) and the left line (0, 0)-(0, H) show
// in the first colour; the bottom and right lines lie just outside.
TEST(TwoColourFrame, TopAndLeftInTheFirstColour)
{
    const Colour first = makeColour(255, 0, 0), second = makeColour(0, 255, 0);
    Bitmap b = filled(4, 3, kWhite);
    Canvas canvas(b);
    TwoColourFrame(canvas, false, 1, first, second, first);
    EXPECT_EQ(toAscii(b, {{'1', first}, {'.', kWhite}}), "1111\n1...\n1...\n");
    EXPECT_EQ(canvas.penColour(), first);
    // Width 3 reaches one pixel in from the bottom and the right: the right
    // line, drawn last, takes the corner.
    Bitmap wide = filled(6, 6, kWhite);
    Canvas wideCanvas(wide);
    TwoColourFrame(wideCanvas, true, 3, first, second, second);
    EXPECT_EQ(wide.pixel(3, 5), second);
    EXPECT_EQ(wide.pixel(5, 3), second);
    EXPECT_EQ(wide.pixel(0, 3), first);
    EXPECT_EQ(wide.pixel(3, 0), first);
    EXPECT_EQ(wide.pixel(3, 3), kWhite);
    EXPECT_EQ(wideCanvas.penColour(), second);
}

// 9 rows with n = 10: hb = 0 and wb = 1, so only the row copy (row 0 :=
// row 8) and the column copy (column W-1 := column 0) happen.
TEST(BordureDecomposee, NineRowsOnlyCopy)
{
    Bitmap b(10, 9, 24);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            b.setPixel(x, y, makeColour(x * 20, y * 20, 5));
    BordureDecomposee(b, 10);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(b.pixel(x, 0), makeColour(x * 20, 160, 5)) << x;
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(b.pixel(9, y), makeColour(0, y == 0 ? 160 : y * 20, 5)) << y;
    EXPECT_EQ(b.pixel(4, 4), makeColour(80, 80, 5));
}

// n = 2 on 4 x 4: row 1 is halfway between row 0 (now row 3) and row 2;
// column 2 halfway between column 3 (now column 0) and itself; halves go
// to the even neighbour.
TEST(BordureDecomposee, BlendsRoundHalvesToEven)
{
    Bitmap b = test::greys({{10, 0, 13, 0}, {0, 0, 0, 0}, {11, 0, 14, 0}, {12, 0, 16, 0}});
    BordureDecomposee(b, 2);
    // Row 0 := row 3 = 12 0 16 0; row 1 := (row 0 + row 2) / 2 =
    // 11.5 -> 12, 0, 15, 0. Then each row: column 3 := column 0, column 2
    // := (column 3 + column 2) / 2.
    EXPECT_EQ(test::greysOf(b), (test::Grid{{12, 0, 14, 12}, {12, 0, 14, 12}, {11, 0, 12, 11}, {12, 0, 14, 12}}));
    const Bitmap start = b;
    BordureDecomposee(b, 1);
    EXPECT_TRUE(b == start);
}

// Larger images, on every way the blends can run (whole vectors, partial
// ones, the largest divisors): every blended channel is round((a * (d - k)
// + b * k) / d), halves to even, from the rows (columns) it blends.
class BordureDecomposeePaths : public ::testing::TestWithParam<borders::Path> {};

TEST_P(BordureDecomposeePaths, EveryBlendRoundsExactly)
{
    if (!borders::pathAvailable(GetParam()))
        GTEST_SKIP() << "processor lacks the instructions";
    std::mt19937 rng(7);
    auto rounded = [](int a, int b, int k, int d) {
        const int n = a * (d - k) + b * k, q = n / d, r = n % d;
        return q + ((2 * r > d || (2 * r == d && q % 2)) ? 1 : 0);
    };
    for (auto [w, h, n] : {std::tuple{37, 41, 2},
                           {50, 23, 3},
                           {64, 64, 7},
                           {19, 100, 4},
                           {101, 5, 2},
                           {3, 2, 2},
                           {2, 2, 2},
                           {97, 13, 3},
                           {65535, 2, 2},
                           {2, 65535, 2}}) {
        const Bitmap start = test::randomImage(rng, w, h);
        Bitmap b = start;
        borders::bordureDecomposeeWith(b, n, GetParam());
        const int hb = h / n, wb = w / n;
        // Rows blend between the old bottom row (now row 0) and row hb.
        Bitmap rowsDone = start;
        for (int x = 0; x < w; ++x)
            rowsDone.setPixel(x, 0, start.pixel(x, h - 1));
        for (int y = 1; y < hb; ++y)
            for (int i = 0; i < w * 3; ++i)
                rowsDone.row(y)[i] = std::uint8_t(rounded(rowsDone.row(0)[i], rowsDone.row(hb)[i], y, hb));
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* before = rowsDone.row(y);
            const std::uint8_t* after = b.row(y);
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(after[(w - 1) * 3 + c], before[c]) << y;
                for (int j = 1; j < wb; ++j)
                    ASSERT_EQ(after[(w - 1 - j) * 3 + c], rounded(before[c], before[(w - wb) * 3 + c], j, wb))
                        << w << "x" << h << " row " << y << " j " << j;
                for (int x = 0; x < w - wb; ++x)
                    ASSERT_EQ(after[x * 3 + c], before[x * 3 + c]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(All, BordureDecomposeePaths,
                         ::testing::Values(borders::Path::Scalar, borders::Path::Avx2, borders::Path::Avx512));

// "&Bouton" (size 5, amount 100) on white: lightening white changes
// nothing; darkening gives 255 - 255 * 100 div 255 = 155, and the corners
// that are processed twice change twice.
TEST(ButtonBevel, WhiteImageWithTheMenuSettings)
{
    Bitmap b = filled(20, 20, kWhite);
    ButtonBevel(b, 5, 100);
    for (auto [x, y, v] : {std::tuple{10, 0, 255},
                           {0, 10, 255},
                           {10, 10, 255},
                           {10, 19, 155},
                           {19, 10, 155},
                           {10, 5, 255},
                           {10, 6, 255},
                           {10, 14, 155},
                           {10, 13, 255},
                           {14, 10, 155},
                           {19, 0, 155},  // lightened, then darkened
                           {0, 19, 194},  // darkened, then lightened: 155 + 100 * 100 div 255
                           {19, 19, 95}}) // darkened twice: 155 - 155 * 100 div 255
        EXPECT_EQ(b.pixel(x, y), grey(v)) << x << "," << y;
}

TEST(ButtonBevel, NoAmountOrNoSizeChangesNothing)
{
    const Bitmap start = test::greys({{10, 200, 30}, {40, 50, 60}, {70, 80, 90}});
    for (auto [size, amount] : {std::pair{5, 0}, {0, 100}, {0, 0}}) {
        Bitmap b = start;
        ButtonBevel(b, size, amount);
        EXPECT_TRUE(b == start) << size << " " << amount;
    }
}

// A bevel thicker than half the image stays inside it: every pixel of a
// 3 x 2 image is processed (some several times), none outside.
TEST(ButtonBevel, ThickerThanHalfTheImage)
{
    for (auto [w, h] : {std::pair{3, 2}, {1, 1}, {1, 17}, {17, 1}}) {
        Bitmap b = filled(w, h, grey(100));
        ButtonBevel(b, 100, 250);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_NE(b.pixel(x, y), grey(100)) << w << "x" << h << " " << x << "," << y;
    }
}

} // namespace
} // namespace px
