// pixoran3 --apply with the values of the geometry, frame, gradient and
// bevel commands and the positions of the deformation dialogs, with results
// worked out by hand from the rules.
#include "batch/CommandLine.h"
#include "effects/EffectTestHelpers.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace px {
namespace {

struct Outcome {
    int code = -1;
    std::string err;
    Bitmap image;
};

// Runs the arguments on `input` and reads the output back.
Outcome apply(const Bitmap& input, std::vector<std::string> args)
{
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), input);
    args.push_back(dir.file("in.bmp").string());
    args.push_back(dir.file("out.bmp").string());
    std::ostringstream out, err;
    Outcome o;
    o.code = runCommandLine(args, out, err).value_or(-1);
    o.err = err.str();
    if (o.code == 0)
        o.image = readBmpFile(dir.file("out.bmp"));
    return o;
}

const Colour kA = makeColour(200, 0, 0), kB = makeColour(0, 0, 200);

Bitmap ab()
{
    Bitmap b(2, 1, 24);
    b.setPixel(0, 0, kA);
    b.setPixel(1, 0, kB);
    return b;
}

TEST(TransformCommandLine, RotationsTakeDirectionDegreesAndAngle)
{
    Outcome o = apply(ab(), {"--apply", "Rotation3=Droite,90"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(0, 0), kA);
    EXPECT_EQ(o.image.height(), 2);
    o = apply(ab(), {"--apply", "Rotation3=gauche,270"});
    EXPECT_EQ(o.image.pixel(0, 0), kA);
    o = apply(ab(), {"--apply", "Rotation3=Gauche,Libre,90"});
    EXPECT_EQ(o.image.pixel(0, 0), kB);
    // 45 degrees: the corners of a square take the background colour.
    o = apply(test::filled(9, 9, kA), {"--background-colour", "00FF00", "--apply", "Rotation3=Gauche,Libre,45"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 255, 0));
    EXPECT_EQ(o.image.pixel(4, 4), kA);
    // "Libre" needs its angle; a choice must be one of the list.
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Droite,Libre"}).code, 1);
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Haut,90"}).code, 2);
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Droite,45"}).code, 2);
}

TEST(TransformCommandLine, SizesAndMargins)
{
    Outcome o = apply(test::filled(4, 2, kA), {"--apply", "Redimensionner1=2,6"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.width(), 2);
    EXPECT_EQ(o.image.height(), 6);
    o = apply(ab(), {"--apply", "Etirerbords1=3,2"});
    EXPECT_EQ(o.image.pixel(1, 0), kB);
    EXPECT_EQ(o.image.pixel(2, 1), kBlack);
    o = apply(ab(), {"--background-colour", "0000FF", "--apply", "Ajouterunebordure1=1,2,3,4"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.width(), 9);
    EXPECT_EQ(o.image.height(), 4);
    EXPECT_EQ(o.image.pixel(3, 1), kA);
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 0, 255));
    // 0 and sizes past 65535 are refused before any work.
    for (const char* bad : {"Etirerbords1=0,5", "Redimensionner1=65536,1", "Ajouterunebordure1=1,1,1"})
        EXPECT_EQ(apply(ab(), {"--apply", bad}).code, 2) << bad;
}

TEST(TransformCommandLine, GradientsFramesAndBevel)
{
    // The main and background colours are the gradient's ends unless given.
    Outcome o = apply(test::filled(3, 256, kA), {"--main-colour", "000000", "--background-colour", "FFFFFF", "--apply",
                                                 "Construiredegrader=Vertical"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(1, 0), kBlack);
    EXPECT_EQ(o.image.pixel(1, 255), kWhite);
    o = apply(test::filled(256, 1, kA), {"--apply", "Construiredegrader=horizontal,FF0000,0000FF"});
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(o.image.pixel(255, 0), makeColour(0, 0, 255));
    // A fresh canvas: white brush inside a solid frame, main-colour outline.
    o = apply(test::filled(5, 5, kA), {"--main-colour", "00FF00", "--apply", "Bordure1=Solide,1"});
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 255, 0));
    EXPECT_EQ(o.image.pixel(2, 2), kWhite);
    o = apply(test::filled(5, 5, kA), {"--apply", "Bordurecou1=Transparent,1,Fond - principale"});
    EXPECT_EQ(o.image.pixel(2, 0), kWhite);
    EXPECT_EQ(o.image.pixel(2, 2), kA);
    o = apply(test::filled(12, 12, kWhite), {"--apply", "Bouton3=100,5"});
    EXPECT_EQ(o.image.pixel(6, 11), makeColour(155, 155, 155));
    EXPECT_EQ(apply(ab(), {"--apply", "Bouton3=251,5"}).code, 2);
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
    const Outcome o = apply(c.input, {"--apply", c.command});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_TRUE(o.image == c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DeformationApply,
    ::testing::Values(
        // cx = 1, cy = 0. Pixel 2: theta' = pi/2 - 1/300, sample (1.0033, 0.99999)
        // whose rows both wrap to row 0: 0.99667 * 90 + 0.00333 * 180 = 90.3.
        // Pixel 0: theta' = 3 pi/2 - 1/300, sample x 0.99667: 89.7. Pixel 1 is
        // the centre.
        ApplyCase{"Tordre3=300", test::greys({{0, 90, 180}}), test::greys({{90, 90, 90}}), "a quarter turn"},
        ApplyCase{"Mirage3=1", test::greys({{10, 20, 30, 40, 90}}), test::greys({{10, 25, 30, 25, 10}}),
                  "the whole width blended; a band one pixel high is left"},
        // Hallucination 1 on one row: rows 0 only; x = 0 samples columns 0
        // and 1: (0 + 0 + 40 + 40) / 4 = 20; x = 1 samples the 20 just written
        // and 80: 50; x = 2 samples column 1 twice (W - x = 1): 50.
        ApplyCase{"Allucination2=1", test::greys({{0, 40, 80}}), test::greys({{20, 50, 50}}), "reads its own writes"},
        ApplyCase{"Mosaque2=50", test::greys({{7, 1, 2}}), test::greys({{7, 7, 7}}), "a block larger than the image"},
        ApplyCase{"Mosaque2=0", test::greys({{7, 1, 2}}), test::greys({{7, 1, 2}}), "position 0 applies nothing"}));

} // namespace
} // namespace px
