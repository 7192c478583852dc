// The rows of the textures, geometry, frames and bevels: their values, how
// their windows follow them, and what the menu settings do.
#include "effects/EffectFrame.h"
#include "effects/EffectTestHelpers.h"
#include "graphics/Canvas.h"
#include "registry/EffectRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace px {
namespace {

using test::filled;

// Name, number of values (optional ones included), how the window follows.
struct RowCase {
    const char* name;
    std::size_t values;
    WindowAfterEffect window;
};

const RowCase kRows[] = {
    {"MiroirHorizontal1", 0, WindowAfterEffect::Keep},
    {"MiroirVertical1", 0, WindowAfterEffect::Keep},
    {"Miroir4", 0, WindowAfterEffect::Cascade},
    {"Hauteurx2", 0, WindowAfterEffect::Cascade},
    {"Largeurx2", 0, WindowAfterEffect::Cascade},
    {"Rotation3", 3, WindowAfterEffect::Keep},
    {"Ajouterunebordure1", 4, WindowAfterEffect::FitDocument},
    {"Bordure1", 2, WindowAfterEffect::Keep},
    {"Bordurecou1", 3, WindowAfterEffect::Cascade},
    {"Construiredegrader", 3, WindowAfterEffect::Keep},
    {"Etirerbords1", 2, WindowAfterEffect::FitDocument},
    {"Plasma1", 0, WindowAfterEffect::Keep},
    {"Redimensionner1", 2, WindowAfterEffect::FitDocument},
    {"Bandedess1", 0, WindowAfterEffect::Keep},
    {"Bouton1", 0, WindowAfterEffect::Keep},
    {"Bouton3", 2, WindowAfterEffect::Keep},
    {"Borduredecomp1", 0, WindowAfterEffect::Keep},
    {"Borduredcomposerplus1", 0, WindowAfterEffect::Keep},
    {"Borduredcomposer2", 1, WindowAfterEffect::Keep},
    {"Mandel1", 0, WindowAfterEffect::Keep},
    {"Ovale1", 0, WindowAfterEffect::Keep},
    {"Marbre1", 0, WindowAfterEffect::Keep},
    {"Marbre2", 0, WindowAfterEffect::Keep},
    {"Marbre31", 0, WindowAfterEffect::Keep},
    {"Marbre41", 0, WindowAfterEffect::Keep},
    {"Marbre51", 0, WindowAfterEffect::Keep},
    {"Marbre61", 0, WindowAfterEffect::Keep},
    {"Spray1", 0, WindowAfterEffect::Keep},
    {"Sprayplus1", 0, WindowAfterEffect::Keep},
    {"Spraydecomp1", 0, WindowAfterEffect::Keep},
    {"Spraydcomposerplus1", 0, WindowAfterEffect::Keep},
};

class TransformRows : public ::testing::Test {
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

TEST_F(TransformRows, EveryRowWithItsValuesAndWindow)
{
    for (const RowCase& row : kRows) {
        const EffectCommand* c = registry.find(row.name);
        ASSERT_NE(c, nullptr) << row.name;
        EXPECT_EQ(c->parameters.size(), row.values) << row.name;
        EXPECT_EQ(c->windowAfter, row.window) << row.name;
        EXPECT_TRUE(c->shape == EffectCommand::Shape::InPlace ? bool(c->inPlace) : bool(c->workCopy)) << row.name;
    }
    // The stretching takes its snapshot before its dialog; the index lists
    // the textures and bevels with a description.
    EXPECT_TRUE(registry.find("Etirerbords1")->snapshotBeforeDialog);
    EXPECT_EQ(registry.find("Bouton1")->description, "Transforme l'image en bouton");
    EXPECT_EQ(registry.find("Marbre51")->description, "Applique l'effet marble 5 sur l'image");
    EXPECT_EQ(registry.find("Plasma1")->description, "");
}

// Every row, with its smallest values, on images of one pixel, one row, one
// column and 3 x 3 in every depth: nothing fails and the result has 24 bits.
TEST_F(TransformRows, TinyImagesOfEveryDepth)
{
    for (const RowCase& row : kRows) {
        const EffectCommand* c = registry.find(row.name);
        ASSERT_NE(c, nullptr);
        std::vector<int> values;
        for (const EffectParameter& p : c->parameters)
            if (!p.optional)
                values.push_back(p.kind == EffectParameter::Kind::Integer ? p.minimum : 0);
        for (int depth : {1, 4, 8, 24})
            for (auto [w, h] : {std::pair{1, 1}, {1, 17}, {17, 1}, {3, 3}}) {
                Bitmap doc(w, h, depth);
                EXPECT_NO_THROW(applyEffect(*c, doc, context, values, scratch)) << row.name;
                EXPECT_EQ(doc.bitsPerPixel(), 24) << row.name;
            }
    }
}

TEST_F(TransformRows, RotationValues)
{
    const Bitmap ab = test::greys({{10, 20}});
    EXPECT_EQ(test::greysOf(run("Rotation3", ab, {0, 0})), (test::Grid{{10}, {20}}));
    EXPECT_EQ(test::greysOf(run("Rotation3", ab, {1, 0})), (test::Grid{{20}, {10}}));
    EXPECT_EQ(test::greysOf(run("Rotation3", ab, {1, 2})), (test::Grid{{10}, {20}}));
    EXPECT_EQ(test::greysOf(run("Rotation3", ab, {0, 3, 180})), (test::Grid{{20, 10}}));
    // "Libre" 0 keeps the picture; without an angle it cannot run.
    EXPECT_TRUE(run("Rotation3", ab, {1, 3, 0}) == ab);
    Bitmap doc = ab;
    EXPECT_THROW(applyEffect(*registry.find("Rotation3"), doc, context, std::vector<int>{0, 3}, scratch), EffectError);
    EXPECT_TRUE(doc == ab);
}

TEST_F(TransformRows, MenuSettingsOfTheBevelAndBlends)
{
    // "&Bouton" on white: 155 at the bottom.
    EXPECT_EQ(run("Bouton1", filled(12, 12, kWhite)).pixel(6, 11), makeColour(155, 155, 155));
    // "B&outon..." takes transparency then size.
    EXPECT_EQ(run("Bouton3", filled(12, 12, kWhite), {100, 5}).pixel(6, 11), makeColour(155, 155, 155));
    EXPECT_TRUE(run("Bouton3", filled(12, 12, kWhite), {0, 5}) == filled(12, 12, kWhite));
    // Position 1 of "Bordure décomposée..." is no border.
    const Bitmap rows = test::greys({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_TRUE(run("Borduredcomposer2", rows, {1}) == rows);
    EXPECT_EQ(test::greysOf(run("Borduredcomposer2", rows, {30})), (test::Grid{{7, 8, 7}, {4, 5, 4}, {7, 8, 7}}));
}

TEST_F(TransformRows, GradientColoursDefaultToTheMainAndBackgroundColours)
{
    context.mainColour = makeColour(10, 10, 10);
    context.backgroundColour = makeColour(30, 30, 30);
    // "Horizontal" over 256 columns: column i is step i.
    const Bitmap defaults = run("Construiredegrader", filled(256, 1, kWhite), {0});
    EXPECT_EQ(defaults.pixel(0, 0), makeColour(10, 10, 10));
    EXPECT_EQ(defaults.pixel(255, 0), makeColour(30, 30, 30));
    const Bitmap chosen = run("Construiredegrader", filled(4, 4, kWhite), {1, int(kBlack), int(kWhite)});
    EXPECT_EQ(chosen.pixel(0, 3), kWhite);
}

// The frames draw with the document's canvas when the routine runs on its
// document: its brush colour fills "Solide", its state stays changed.
TEST_F(TransformRows, FramesUseTheDocumentsCanvas)
{
    Bitmap doc = filled(5, 5, kWhite);
    Canvas canvas(doc);
    canvas.setBrushColour(makeColour(0, 0, 255));
    context.canvas = &canvas;
    context.mainColour = makeColour(255, 0, 0);
    applyEffect(*registry.find("Bordure1"), doc, context, std::vector<int>{0, 1}, scratch);
    EXPECT_EQ(doc.pixel(2, 2), makeColour(0, 0, 255));
    EXPECT_EQ(doc.pixel(0, 2), makeColour(255, 0, 0));
    EXPECT_FALSE(canvas.brushHollow());
    applyEffect(*registry.find("Bordurecou1"), doc, context, std::vector<int>{0, 3, 1}, scratch);
    EXPECT_EQ(canvas.penWidth(), 3);
    EXPECT_EQ(canvas.penColour(), makeColour(255, 0, 0));
    EXPECT_TRUE(canvas.brushHollow());
    // A margin leaves the pen in the main colour.
    canvas.setPenColour(kWhite);
    applyEffect(*registry.find("Ajouterunebordure1"), doc, context, std::vector<int>{1, 1, 1, 1}, scratch);
    EXPECT_EQ(doc.width(), 7);
    EXPECT_EQ(canvas.penColour(), makeColour(255, 0, 0));
    // A copy that is not the document gets a fresh canvas: white brush.
    Bitmap other = filled(5, 5, kBlack);
    applyEffect(*registry.find("Bordure1"), other, context, std::vector<int>{0, 1}, scratch);
    EXPECT_EQ(other.pixel(2, 2), kWhite);
}

} // namespace
} // namespace px
