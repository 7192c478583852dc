// Mirrors, the doubling mirrors, quarter, half and free turns, resizing and
// stretching the edges.
#include "effects/Effect.h"
#include "effects/EffectTestHelpers.h"
#include "effects/Parallel.h"
#include "support/TestSupport.h"
#include "transforms/Mirrors.h"
#include "transforms/Resizing.h"
#include "transforms/Rotations.h"

#include <gtest/gtest.h>

#include <random>

namespace px {
namespace {

using test::filled;
using test::fromAscii;
using test::toAscii;

const Colour kA = makeColour(200, 0, 0), kB = makeColour(0, 200, 0), kC = makeColour(0, 0, 200),
             kD = makeColour(9, 9, 9), kE = makeColour(50, 60, 70), kF = makeColour(250, 250, 0);
const std::initializer_list<std::pair<char, Colour>> kLetters = {{'A', kA}, {'B', kB}, {'C', kC},
                                                                 {'D', kD}, {'E', kE}, {'F', kF}};

Bitmap letters(std::initializer_list<const char*> rows)
{
    return fromAscii(rows, kLetters);
}

std::string ascii(const Bitmap& b)
{
    return toAscii(b, kLetters);
}

// Pixel (x, y) holds x and y, so any misplaced pixel shows.
Bitmap coded(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(x & 255, y & 255, (x >> 8) * 16 + (y >> 8)));
    return b;
}

using Routine = void (*)(const Bitmap&, Bitmap&);

Bitmap applied(Routine routine, const Bitmap& source)
{
    Bitmap target(source.width(), source.height(), 24);
    routine(source, target);
    return target;
}

TEST(Mirrors, SmallPictures)
{
    const Bitmap abc = letters({"ABC", "DEF"});
    EXPECT_EQ(ascii(applied(MirrorLeftRight, abc)), "CBA\nFED\n");
    EXPECT_EQ(ascii(applied(MirrorTopBottom, abc)), "DEF\nABC\n");
    EXPECT_EQ(ascii(applied(Rotate180, abc)), "FED\nCBA\n");
    EXPECT_EQ(ascii(applied(RotateRight90, abc)), "DA\nEB\nFC\n");
    EXPECT_EQ(ascii(applied(RotateLeft90, abc)), "CF\nBE\nAD\n");
    // "Droite 90" on A B: A on top; "Gauche 90": B on top.
    EXPECT_EQ(ascii(applied(RotateRight90, letters({"AB"}))), "A\nB\n");
    EXPECT_EQ(ascii(applied(RotateLeft90, letters({"AB"}))), "B\nA\n");
}

// Sizes around the widths the vector paths take at a time (4, 8, 21
// pixels), so they meet every kind of edge: each target pixel comes from
// where the rule says.
TEST(Mirrors, EverySizeFollowsTheRule)
{
    for (int w : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 13, 16, 20, 21, 22, 42, 43, 47, 64})
        for (int h : {1, 2, 3, 4, 5, 6, 11, 16, 21, 40}) { // 40 rows: two bands of rows for two threads
            const Bitmap s = coded(w, h);
            const Bitmap lr = applied(MirrorLeftRight, s), half = applied(Rotate180, s);
            const Bitmap right = applied(RotateRight90, s), left = applied(RotateLeft90, s);
            ASSERT_EQ(right.width(), h);
            ASSERT_EQ(right.height(), w);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    ASSERT_EQ(lr.pixel(x, y), s.pixel(w - 1 - x, y)) << w << "x" << h;
                    ASSERT_EQ(half.pixel(w - 1 - x, h - 1 - y), s.pixel(x, y)) << w << "x" << h;
                }
            for (int y = 0; y < w; ++y)
                for (int x = 0; x < h; ++x) {
                    ASSERT_EQ(right.pixel(x, y), s.pixel(y, h - 1 - x)) << w << "x" << h;
                    ASSERT_EQ(left.pixel(x, y), s.pixel(w - 1 - y, x)) << w << "x" << h;
                }
        }
}

TEST(MirrorDouble, ImageBesideAndAboveItsMirrors)
{
    Bitmap out;
    MirrorDouble(letters({"ABC"}), out, MirrorDoubling::Right);
    EXPECT_EQ(ascii(out), "ABCCBA\n");
    MirrorDouble(letters({"A", "B"}), out, MirrorDoubling::Down);
    EXPECT_EQ(ascii(out), "A\nB\nB\nA\n");
    MirrorDouble(letters({"AB", "CD"}), out, MirrorDoubling::Both);
    EXPECT_EQ(ascii(out), "ABBA\nCDDC\nCDDC\nABBA\n");
    MirrorDouble(letters({"E"}), out, MirrorDoubling::Both);
    EXPECT_EQ(ascii(out), "EE\nEE\n");
}

TEST(RotateFree, AngleZeroCopiesFortyFiveLeavesTheCornersAndNinetyTurnsClockwise)
{
    const Colour bg = makeColour(1, 2, 3);
    const Bitmap s = coded(9, 7);
    Bitmap t;
    RotateFree(s, t, 0, bg);
    EXPECT_TRUE(t == s);
    RotateFree(s, t, 360, bg);
    EXPECT_TRUE(t == s);

    const Bitmap square = filled(21, 21, kWhite);
    RotateFree(square, t, 45, bg);
    for (auto [x, y] : {std::pair{0, 0}, {20, 0}, {0, 20}, {20, 20}, {2, 1}, {19, 18}})
        EXPECT_EQ(t.pixel(x, y), bg) << x << "," << y;
    for (auto [x, y] : {std::pair{10, 10}, {10, 0}, {0, 10}, {20, 10}, {10, 20}})
        EXPECT_EQ(t.pixel(x, y), kWhite) << x << "," << y;
    // The centre pixel stays where it is at any angle.
    RotateFree(coded(21, 21), t, 33, bg);
    EXPECT_EQ(t.pixel(10, 10), makeColour(10, 10, 0));

    // A positive angle turns clockwise on the screen about the corner (W div
    // 2, H div 2). At 90 degrees on 5 x 5, target (3, 2) is u = 3, v = 1 in
    // doubled coordinates; it takes su = 1, sv = -3, source (2, 0): the pixel
    // above the centre moves to its right. Target (2, 3) takes source (3, 1);
    // column 4 (u = 5) takes sv = -5, source row -1: outside.
    RotateFree(coded(5, 5), t, 90, bg);
    EXPECT_EQ(t.pixel(3, 2), makeColour(2, 0, 0));
    EXPECT_EQ(t.pixel(2, 3), makeColour(3, 1, 0));
    EXPECT_EQ(t.pixel(4, 2), bg);
    EXPECT_EQ(t.pixel(0, 2), makeColour(2, 3, 0));
}

// Bands of target rows on two threads give what one thread gives.
TEST(RotateFree, TwoThreadsGiveWhatOneGives)
{
    std::mt19937 rng(5);
    const Bitmap s = test::randomImage(rng, 150, 140);
    Bitmap one, two;
    {
        ScopedEffectThreads single(1);
        RotateFree(s, one, 30, kWhite);
    }
    {
        ScopedEffectThreads pair(2);
        RotateFree(s, two, 30, kWhite);
    }
    EXPECT_TRUE(one == two);
}

struct RotationCase {
    RotationDirection direction;
    RotationDegrees degrees;
    int angle;
    RotationRoutine routine;
};

class RotationTable : public ::testing::TestWithParam<RotationCase> {};

TEST_P(RotationTable, ChoosesTheRoutine)
{
    const RotationCase& c = GetParam();
    EXPECT_EQ(rotationRoutine(c.direction, c.degrees, c.angle), c.routine);
}

using RD = RotationDirection;
using RG = RotationDegrees;
using RR = RotationRoutine;
INSTANTIATE_TEST_SUITE_P(
    DirectionAndDegrees, RotationTable,
    ::testing::Values(
        RotationCase{RD::Right, RG::D90, 0, RR::Right90}, RotationCase{RD::Right, RG::D180, 0, RR::Rotate180},
        RotationCase{RD::Right, RG::D270, 0, RR::Left90}, RotationCase{RD::Left, RG::D90, 0, RR::Left90},
        RotationCase{RD::Left, RG::D180, 0, RR::Rotate180}, RotationCase{RD::Left, RG::D270, 0, RR::Right90},
        RotationCase{RD::Right, RG::Free, 90, RR::Right90}, RotationCase{RD::Right, RG::Free, 180, RR::Rotate180},
        RotationCase{RD::Right, RG::Free, 270, RR::Left90}, RotationCase{RD::Left, RG::Free, 90, RR::Left90},
        RotationCase{RD::Left, RG::Free, 180, RR::Rotate180}, RotationCase{RD::Left, RG::Free, 270, RR::Right90},
        RotationCase{RD::Right, RG::Free, 45, RR::Free}, RotationCase{RD::Left, RG::Free, -90, RR::Free},
        RotationCase{RD::Left, RG::Free, 0, RR::Free}));

TEST(Resize, NearestPixelOverTheNewSize)
{
    Bitmap t;
    ResizeImage(letters({"ABCD", "EFAB"}), t, 2, 1);
    EXPECT_EQ(ascii(t), "AC\n");
    ResizeImage(letters({"AB"}), t, 4, 2);
    EXPECT_EQ(ascii(t), "AABB\nAABB\n");
}

TEST(StretchEdges, KeepsThePixelsAtTheTopLeft)
{
    Bitmap b = letters({"AB", "CD"});
    StretchEdges(b, 3, 3);
    EXPECT_EQ(toAscii(b, {{'A', kA}, {'B', kB}, {'C', kC}, {'D', kD}, {'#', kBlack}}), "AB#\nCD#\n###\n");
    StretchEdges(b, 1, 2);
    EXPECT_EQ(ascii(b), "A\nC\n");
}

// A size of 0 or beyond 65535 (or beyond 2^28 pixels) is refused with a
// message and the picture stays as it was.
TEST(ImageSize, UnusableSizesAreRefused)
{
    const Bitmap start = letters({"AB"});
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {65536, 1}, {1, 65536}, {65535, 65535}}) {
        Bitmap b = start, t = start;
        EXPECT_THROW(StretchEdges(b, w, h), EffectError) << w << "x" << h;
        EXPECT_THROW(ResizeImage(start, t, w, h), EffectError) << w << "x" << h;
        EXPECT_TRUE(b == start);
        try {
            checkNewImageSize(w, h);
        } catch (const EffectError& e) {
            EXPECT_STREQ(e.what(), kImageSizeRefused);
        }
    }
    Bitmap b = start;
    StretchEdges(b, 65535, 1);
    EXPECT_EQ(b.width(), 65535);
}

} // namespace
} // namespace px
