#include "effects/ColourCount.h"
#include "effects/EffectFrame.h"
#include "effects/EffectTestHelpers.h"
#include "registry/EffectRegistry.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <sstream>
#include <string>

namespace px {
namespace {

// The commands of the filter and colour menus.
const char* const kFilterAndColourCommands =
    "Antialias1 Bruit1 Bruitplus1 Bruitcouleur1 Bruitaveccouleurplus1 Boss1 Contour1 Durcir1 Durcirplus1 "
    "Emboss1 Findedge1 Adoucir1 Adoucirplus1 Flou1 Flouplus1 Gaussianflou1 Focus1 Hipass1 Laplace1 "
    "Lithographie1 Relief1 Sharpen1 Filtre1 Sculpture1 Trait1 AjusterRVB1 Changercol1 Colorisation1 "
    "Contraste1 Contrasteplus1 Contraste2 Cycle1 Bleu1 Rouge1 Vert1 Eclaircir1 Eclaicirplus1 Eclaircir3 "
    "Eclipse1 Eclipseplus1 Eclipse3 Grisatre1 Luminosite1 Luminositplus1 Luminosit1 Ngative1 Saturation1 "
    "Saturationplus1 Saturation3 Teinte1 N2couleurs1bit1 N16couleurs4bit1 N256couleurs8bit1 "
    "N16millions24bit1 ";

TEST(EffectRegistry, HoldsEveryFilterAndColourCommandWithItsRoutineAndValueCount)
{
    const EffectRegistry registry = makeEffectRegistry();
    const std::map<std::string, int> valueCounts{{"Filtre1", 10},   {"AjusterRVB1", 3}, {"Colorisation1", 1},
                                                 {"Contraste2", 1}, {"Eclaircir3", 1},  {"Eclipse3", 1},
                                                 {"Luminosit1", 1}, {"Saturation3", 1}, {"Teinte1", 1}};
    std::istringstream names(kFilterAndColourCommands);
    for (std::string name; names >> name;) {
        const EffectCommand* c = registry.find(name);
        ASSERT_NE(c, nullptr) << name;
        const auto count = valueCounts.find(name);
        EXPECT_EQ(int(c->parameters.size()), count == valueCounts.end() ? 0 : count->second) << name;
        EXPECT_TRUE(c->shape == EffectCommand::Shape::InPlace ? bool(c->inPlace) : bool(c->workCopy)) << name;
    }
}

class Commands : public ::testing::Test {
protected:
    Bitmap run(const char* name, Bitmap doc, std::vector<int> values = {})
    {
        const EffectCommand* c = registry.find(name);
        EXPECT_NE(c, nullptr) << name;
        if (!c)
            return doc;
        EXPECT_EQ(checkEffectValues(*c, values), "") << name;
        applyEffect(*c, doc, context, values, scratch);
        return doc;
    }

    const EffectRegistry registry = makeEffectRegistry();
    RandomGenerator random{1};
    EffectContext context{.mainColour = kBlack, .backgroundColour = kWhite, .brushColour = kWhite, .random = &random};
    EffectScratch scratch;
};

using test::filled;

TEST_F(Commands, DialogPositionZeroAppliesNothingAndSaturationMapsTo200MinusPosition)
{
    const Bitmap start = filled(2, 2, makeColour(10, 20, 201));
    for (const char* name : {"Luminosit1", "Contraste2", "Saturation3", "Eclipse3", "Eclaircir3"})
        EXPECT_TRUE(run(name, start, {0}) == start) << name;
    // position 200 -> amount 0: grey with the mean (231 div 3 = 77)
    EXPECT_EQ(run("Saturation3", start, {200}).pixel(1, 1), makeColour(77, 77, 77));
    // position 155 -> amount 45: R 77 + (-67 * 45 div 255 = -11) = 66
    EXPECT_EQ(redOf(run("Saturation3", start, {155}).pixel(0, 0)), 66);
    EXPECT_EQ(run("Luminosit1", start, {255 - 55}).pixel(0, 0),
              makeColour(10 + 245 * 200 / 255, 20 + 235 * 200 / 255, 201 + 54 * 200 / 255));
}

TEST_F(Commands, UserFilterTakesTheDivisorModulo65536AndRefusesZero)
{
    const Bitmap start = filled(3, 3, makeColour(100, 50, 7));
    // kernel sum 2, divisor 65536 + 2 -> 2: unchanged
    EXPECT_TRUE(run("Filtre1", start, {0, 0, 0, 0, 2, 0, 0, 0, 0, 65538}) == start);
    const EffectCommand* c = registry.find("Filtre1");
    ASSERT_NE(c, nullptr);
    Bitmap doc = start;
    const std::vector<int> zero{1, 1, 1, 1, 1, 1, 1, 1, 1, 65536};
    try {
        applyEffect(*c, doc, context, zero, scratch);
        ADD_FAILURE() << "a divisor of 0 must be refused";
    } catch (const EffectError& e) {
        EXPECT_NE(std::string(e.what()).find("diviseur"), std::string::npos);
    }
    EXPECT_TRUE(doc == start);
    // -1 acts as 65535: everything falls to 0
    EXPECT_EQ(run("Filtre1", start, {-1, -1, -1, -1, 9, -1, -1, -1, -1, -1}).pixel(1, 1), kBlack);
    EXPECT_EQ(checkEffectValues(*c, std::vector<int>{INT_MIN, 0, 0, 0, 0, 0, 0, 0, INT_MAX, 1}), "");
}

TEST_F(Commands, ContourAndSculptureXorWithTheBrushThenGrey)
{
    // A uniform image convolves to black; XOR white gives white, grey keeps it.
    EXPECT_EQ(run("Contour1", filled(3, 3, makeColour(40, 50, 60))).pixel(1, 1), kWhite);
    EXPECT_EQ(run("Sculpture1", filled(3, 3, makeColour(40, 50, 60))).pixel(2, 0), kWhite);
    // Trait: XOR only, with the brush colour's channels
    context.brushColour = makeColour(255, 0, 3);
    EXPECT_EQ(run("Trait1", filled(3, 3, makeColour(40, 50, 60))).pixel(0, 0), makeColour(255, 0, 3));
}

TEST_F(Commands, EmbossFlouAndGaussianFlou)
{
    EXPECT_EQ(run("Emboss1", filled(4, 4, makeColour(3, 99, 250))).pixel(3, 3), makeColour(125, 125, 125));
    Bitmap frame(3, 3, 24);
    frame.setPixel(1, 1, kWhite);
    const Bitmap flou = run("Flou1", frame);
    EXPECT_EQ(flou.pixel(1, 1), kBlack); // (0 + 0 + 0 + 0) >> 2
    EXPECT_EQ(run("Gaussianflou1", filled(5, 5, makeColour(8, 16, 32))).pixel(2, 2), makeColour(8, 16, 32));
}

TEST_F(Commands, ColourChoosingCommandsTakeTheirColourAndChangeColourUsesTheSwatches)
{
    const Bitmap start = filled(1, 1, makeColour(0, 0, 200));
    EXPECT_EQ(run("Colorisation1", start, {int(makeColour(255, 128, 0))}).pixel(0, 0), makeColour(200, 100, 0));
    EXPECT_EQ(run("Teinte1", filled(1, 1, kWhite), {int(makeColour(1, 2, 3))}).pixel(0, 0), makeColour(1, 2, 3));
    context.mainColour = makeColour(0, 0, 200);
    context.backgroundColour = makeColour(9, 9, 9);
    EXPECT_EQ(run("Changercol1", start).pixel(0, 0), makeColour(9, 9, 9));
}

TEST_F(Commands, NoiseDrawsFromTheSharedGenerator)
{
    const Bitmap start = filled(2, 1, makeColour(100, 100, 100));
    random.setState(5);
    RandomGenerator draws(5);
    const int r0 = int(draws.next(50)) - 25, r1 = int(draws.next(50)) - 25;
    const Bitmap b = run("Bruit1", start);
    EXPECT_EQ(b.pixel(0, 0), makeColour(100 + r0, 100 + r0, 100 + r0));
    EXPECT_EQ(b.pixel(1, 0), makeColour(100 + r1, 100 + r1, 100 + r1));
    EXPECT_EQ(random.state(), draws.state());
}

TEST_F(Commands, PixelFormatsReduceTheColours)
{
    Bitmap photo(16, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            photo.setPixel(x, y, makeColour(x * 16, y * 16, (x * y) & 255));
    const Bitmap one = run("N2couleurs1bit1", photo);
    EXPECT_EQ(one.bitsPerPixel(), 1);
    EXPECT_LE(countColours(one), 2);
    const Bitmap four = run("N16couleurs4bit1", photo);
    EXPECT_EQ(four.bitsPerPixel(), 4);
    EXPECT_LE(countColours(four), 16);
    EXPECT_GE(countColours(four), 2);
    EXPECT_EQ(run("N256couleurs8bit1", photo).bitsPerPixel(), 8);
    EXPECT_EQ(run("N16millions24bit1", four).bitsPerPixel(), 24);
    // the next effect works in 24 bits again but keeps the reduced colours
    EXPECT_EQ(countColours(run("Ngative1", four)), countColours(four));
}

} // namespace
} // namespace px
