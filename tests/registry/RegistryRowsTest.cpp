// Rows of the registry run through the effect frame: the routine each row
// binds and the values or settings it passes, on results worked out by hand;
// how the windows of the transform rows follow them.
#include "effects/ColourCount.h"
#include "effects/EffectFrame.h"
#include "effects/EffectTestHelpers.h"
#include "registry/EffectRegistry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace px {
namespace {

using test::filled;

class RegistryRows : public ::testing::Test {
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

TEST_F(RegistryRows, DialogPositionZeroAppliesNothing)
{
    const Bitmap start = filled(2, 2, makeColour(10, 20, 201));
    for (const char* name : {"Luminosit1", "Contraste2", "Saturation3", "Eclipse3", "Eclaircir3"})
        EXPECT_TRUE(run(name, start, {0}) == start) << name;
}

TEST_F(RegistryRows, UserFilterTakesTheDivisorModulo65536AndRefusesZero)
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

TEST_F(RegistryRows, EmbossFlouGaussianFlouAndColorisation)
{
    EXPECT_EQ(run("Emboss1", filled(4, 4, makeColour(3, 99, 250))).pixel(3, 3), makeColour(125, 125, 125));
    Bitmap frame(3, 3, 24);
    frame.setPixel(1, 1, kWhite);
    EXPECT_EQ(run("Flou1", frame).pixel(1, 1), kBlack); // (0 + 0 + 0 + 0) >> 2
    EXPECT_EQ(run("Gaussianflou1", filled(5, 5, makeColour(8, 16, 32))).pixel(2, 2), makeColour(8, 16, 32));
    EXPECT_EQ(run("Colorisation1", filled(1, 1, makeColour(0, 0, 200)), {int(makeColour(255, 128, 0))}).pixel(0, 0),
              makeColour(200, 100, 0));
}

TEST_F(RegistryRows, NoiseDrawsFromTheSharedGenerator)
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

TEST_F(RegistryRows, PixelFormatsReduceTheColours)
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

// How the window follows each row that moves it; the stretching takes its
// snapshot before its dialog; the index lists the textures and bevels with a
// description.
TEST_F(RegistryRows, TransformRowsMoveTheirWindows)
{
    const std::pair<const char*, WindowAfterEffect> rows[] = {{"Miroir4", WindowAfterEffect::Cascade},
                                                              {"Hauteurx2", WindowAfterEffect::Cascade},
                                                              {"Largeurx2", WindowAfterEffect::Cascade},
                                                              {"Rotation3", WindowAfterEffect::Keep},
                                                              {"Ajouterunebordure1", WindowAfterEffect::FitDocument},
                                                              {"Bordure1", WindowAfterEffect::Keep},
                                                              {"Bordurecou1", WindowAfterEffect::Cascade},
                                                              {"Construiredegrader", WindowAfterEffect::Keep},
                                                              {"Etirerbords1", WindowAfterEffect::FitDocument},
                                                              {"Redimensionner1", WindowAfterEffect::FitDocument},
                                                              {"Bouton3", WindowAfterEffect::Keep},
                                                              {"Borduredcomposer2", WindowAfterEffect::Keep}};
    for (const auto& [name, window] : rows) {
        const EffectCommand* c = registry.find(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->windowAfter, window) << name;
    }
    EXPECT_TRUE(registry.find("Etirerbords1")->snapshotBeforeDialog);
    EXPECT_EQ(registry.find("Bouton1")->description, "Transforme l'image en bouton");
    EXPECT_EQ(registry.find("Marbre51")->description, "Applique l'effet marble 5 sur l'image");
    EXPECT_EQ(registry.find("Plasma1")->description, "");
}

TEST_F(RegistryRows, MenuSettingsOfTheBevelAndBlends)
{
    // "&Bouton" on white: 155 at the bottom.
    EXPECT_EQ(run("Bouton1", filled(12, 12, kWhite)).pixel(6, 11), makeColour(155, 155, 155));
    // Position 1 of "Bordure décomposée..." is no border.
    const Bitmap rows = test::greys({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_TRUE(run("Borduredcomposer2", rows, {1}) == rows);
    EXPECT_EQ(test::greysOf(run("Borduredcomposer2", rows, {30})), (test::Grid{{7, 8, 7}, {4, 5, 4}, {7, 8, 7}}));
}

} // namespace
} // namespace px
