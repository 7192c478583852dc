#include "effects/ColourCount.h"
#include "effects/EffectFrame.h"

#include <gtest/gtest.h>

#include <climits>

namespace px {
namespace {

struct Row {
    const char* name;
    const char* caption;
    int parameters;
};

class FilterAndColourRows : public ::testing::TestWithParam<Row> {};

TEST_P(FilterAndColourRows, ExistWithTheirCaptionAndParameterCount)
{
    static const EffectRegistry registry = makeEffectRegistry();
    const EffectCommand* c = registry.find(GetParam().name);
    ASSERT_NE(c, nullptr) << GetParam().name;
    EXPECT_EQ(c->caption, GetParam().caption);
    EXPECT_EQ(int(c->parameters.size()), GetParam().parameters);
    EXPECT_TRUE(c->shape == EffectCommand::Shape::InPlace ? bool(c->inPlace) : bool(c->workCopy));
}

INSTANTIATE_TEST_SUITE_P(
    Menus, FilterAndColourRows,
    ::testing::Values(
        Row{"Antialias1", "A&ntialias", 0}, Row{"Bruit1", "Bruit", 0}, Row{"Bruitplus1", "Bruit plus", 0},
        Row{"Bruitcouleur1", "Bruit avec couleur", 0}, Row{"Bruitaveccouleurplus1", "Bruit avec couleur plus", 0},
        Row{"Boss1", "B&oss", 0}, Row{"Contour1", "Contour", 0}, Row{"Durcir1", "Durcir", 0},
        Row{"Durcirplus1", "Durcir plus", 0}, Row{"Emboss1", "&Emboss", 0}, Row{"Findedge1", "Find edges", 0},
        Row{"Adoucir1", "Adoucir", 0}, Row{"Adoucirplus1", "Adoucir plus", 0}, Row{"Flou1", "&Flou", 0},
        Row{"Flouplus1", "Flou &plus", 0}, Row{"Gaussianflou1", "Gaussian flou", 0}, Row{"Focus1", "Focus", 0},
        Row{"Hipass1", "&Hipass", 0}, Row{"Laplace1", "&Laplace", 0}, Row{"Lithographie1", "Lithographie", 0},
        Row{"Relief1", "Relief", 0}, Row{"Sharpen1", "Sharpen", 0}, Row{"Filtre1", "Créer son filtre...", 10},
        Row{"Sculpture1", "&Sculpture", 0}, Row{"Trait1", "&Trait", 0}, Row{"AjusterRVB1", "&Ajuster RVB...", 3},
        Row{"Changercol1", "&Changer une couleur", 0}, Row{"Colorisation1", "Colo&risation...", 1},
        Row{"Contraste1", "&Contraste", 0}, Row{"Contrasteplus1", "Contraste &plus", 0},
        Row{"Contraste2", "C&ontraste...", 1}, Row{"Cycle1", "C&ycle", 0}, Row{"Bleu1", "&Bleu/noir", 0},
        Row{"Rouge1", "&Rouge/noir", 0}, Row{"Vert1", "&Vert/noir", 0}, Row{"Eclaircir1", "&Eclaircir", 0},
        Row{"Eclaicirplus1", "Eclaicir &plus", 0}, Row{"Eclaircir3", "E&claircir...", 1},
        Row{"Eclipse1", "&Eclipse", 0}, Row{"Eclipseplus1", "Eclipse &plus", 0}, Row{"Eclipse3", "E&clipse...", 1},
        Row{"Grisatre1", "&Grisâtre", 0}, Row{"Luminosite1", "&Luminosité", 0},
        Row{"Luminositplus1", "Luminosité &plus", 0}, Row{"Luminosit1", "L&uminosité...", 1},
        Row{"Ngative1", "&Négative", 0}, Row{"Saturation1", "&Saturation", 0},
        Row{"Saturationplus1", "Saturation &plus", 0}, Row{"Saturation3", "S&aturation...", 1},
        Row{"Teinte1", "&Teinte...", 1}, Row{"N2couleurs1bit1", "2 &couleurs (1 bit)", 0},
        Row{"N16couleurs4bit1", "16 c&ouleurs (4 bit)", 0}, Row{"N256couleurs8bit1", "256 co&uleurs (8 bit)", 0},
        Row{"N16millions24bit1", "16 &millions (24 bit)", 0}),
    [](const auto& info) { return std::string(info.param.name); });

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

Bitmap filled(int w, int h, Colour c)
{
    Bitmap b(w, h, 24);
    b.fill(c);
    return b;
}

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

TEST_F(Commands, PixelFormatsAndColourCount)
{
    Bitmap photo(16, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            photo.setPixel(x, y, makeColour(x * 16, y * 16, (x * y) & 255));
    EXPECT_EQ(countColours(photo), 256);
    Bitmap tall(16, 200, 24); // enough rows for two bands of the count
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 16; ++x)
            tall.setPixel(x, y, makeColour(x, y, 7));
    EXPECT_EQ(countColours(tall, 1), 16 * 200);
    EXPECT_EQ(countColours(tall, 2), 16 * 200);
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

TEST(ColourCount, UniformImageCountsOneWithTheMessage)
{
    Bitmap b(7, 5, 24);
    b.fill(makeColour(1, 2, 3));
    EXPECT_EQ(countColours(b), 1);
    EXPECT_EQ(colourCountMessage(countColours(b)), "Le nombre de couleurs unique de cette image est de 1.");
    b.setPixel(3, 3, makeColour(1, 2, 4)); // differs in blue only
    b.setPixel(4, 4, makeColour(2, 2, 3)); // in red only
    EXPECT_EQ(countColours(b), 3);
}

TEST(ColourCount, IndexedImagesCountTheColoursShown)
{
    Bitmap b(4, 1, 8);
    b.setPixelIndex(0, 0, 0);
    b.setPixelIndex(1, 0, 5);
    b.setPixelIndex(2, 0, 5);
    b.setPixelIndex(3, 0, 215);
    EXPECT_EQ(countColours(b), 3);
    EXPECT_EQ(b.bitsPerPixel(), 8);
}

} // namespace
} // namespace px
