#include "effects/SharedRoutines.h"
#include "registry/EffectRegistry.h"
#include "effects/EffectFrame.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

struct GreyCase {
    Colour in;
    int grey;
};

class Grisatre : public ::testing::TestWithParam<GreyCase> {};

TEST_P(Grisatre, UsesRedAndTwiceGreenOverThree)
{
    Bitmap b(3, 2, 24);
    b.fill(GetParam().in);
    GrisatreImage(b);
    const int g = GetParam().grey;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(b.pixel(x, y), makeColour(g, g, g));
}

INSTANTIATE_TEST_SUITE_P(PureColours, Grisatre,
                         ::testing::Values(GreyCase{makeColour(255, 0, 0), 85}, GreyCase{makeColour(0, 255, 0), 170},
                                           GreyCase{makeColour(0, 0, 255), 0}, GreyCase{kWhite, 255},
                                           GreyCase{makeColour(10, 20, 200), 16})); // (10+40)/3

TEST(Grisatre, IndexedImageStaysIndexedWithNearestGrey)
{
    Bitmap b(2, 1, 4);
    b.setPixelIndex(0, 0, 9);  // red (255,0,0) -> grey 85 -> nearest of the 16 is grey 128
    b.setPixelIndex(1, 0, 12); // blue -> black
    GrisatreImage(b);
    EXPECT_EQ(b.bitsPerPixel(), 4);
    EXPECT_EQ(b.pixel(0, 0), makeColour(128, 128, 128));
    EXPECT_EQ(b.pixel(1, 0), kBlack);
}

TEST(XorWithBrush, WhiteInvertsBlackKeepsAndChannelsMatch)
{
    Bitmap b = test::fromAscii({"#.", "r."}, {{'r', makeColour(200, 10, 0)}});
    Bitmap original = b;
    XorWithBrush(b, kBlack);
    EXPECT_TRUE(b == original);
    XorWithBrush(b, kWhite);
    EXPECT_EQ(b.pixel(0, 0), kWhite);
    EXPECT_EQ(b.pixel(1, 0), kBlack);
    EXPECT_EQ(b.pixel(0, 1), makeColour(55, 245, 255));
    XorWithBrush(b, makeColour(1, 2, 4)); // each channel with its own byte
    EXPECT_EQ(b.pixel(0, 1), makeColour(55 ^ 1, 245 ^ 2, 255 ^ 4));
}

TEST(EffectFrame, WorkCopyRoutineReplacesTheDocumentAndValuesAreChecked)
{
    EffectCommand c{.name = "Test1",
                    .caption = "Test",
                    .parameters = {{.name = "POSITION", .minimum = 0, .maximum = 100}},
                    .shape = EffectCommand::Shape::WorkCopy};
    c.workCopy = [](const Bitmap& src, Bitmap& work, const EffectContext&, std::span<const int> v) {
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x)
                work.setPixel(x, y, makeColour(v[0], redOf(src.pixel(x, y)), 0));
    };
    Bitmap doc(2, 2, 1); // converted to 24 bits first
    doc.setPixelIndex(1, 1, 1);
    EffectScratch scratch;
    const int values[] = {7};
    EXPECT_EQ(checkEffectValues(c, values), "");
    applyEffect(c, doc, EffectContext{}, values, scratch);
    EXPECT_EQ(doc.bitsPerPixel(), 24);
    EXPECT_EQ(doc.pixel(0, 0), makeColour(7, 0, 0));
    EXPECT_EQ(doc.pixel(1, 1), makeColour(7, 255, 0));

    const int tooBig[] = {101};
    EXPECT_NE(checkEffectValues(c, tooBig), "");
    EXPECT_NE(checkEffectValues(c, std::span<const int>()), "");
}

TEST(EffectRegistry, UnknownNamesAreNotFoundAndGrisatreKeepsTheDepth)
{
    const EffectRegistry r = makeEffectRegistry();
    EXPECT_EQ(r.find("Inconnu1"), nullptr);
    const EffectCommand* g = r.find("Grisatre1");
    ASSERT_NE(g, nullptr);
    Bitmap doc(1, 1, 8);
    EffectScratch scratch;
    applyEffect(*g, doc, EffectContext{}, {}, scratch);
    EXPECT_EQ(doc.bitsPerPixel(), 8);
}

} // namespace
} // namespace px
