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

// The rows that take values or move their window: number of values
// (optional ones included), how the window follows.
struct RowCase {
    const char* name;
    std::size_t values;
    WindowAfterEffect window;
};

const RowCase kRows[] = {
    {"Miroir4", 0, WindowAfterEffect::Cascade},
    {"Hauteurx2", 0, WindowAfterEffect::Cascade},
    {"Largeurx2", 0, WindowAfterEffect::Cascade},
    {"Rotation3", 3, WindowAfterEffect::Keep},
    {"Ajouterunebordure1", 4, WindowAfterEffect::FitDocument},
    {"Bordure1", 2, WindowAfterEffect::Keep},
    {"Bordurecou1", 3, WindowAfterEffect::Cascade},
    {"Construiredegrader", 3, WindowAfterEffect::Keep},
    {"Etirerbords1", 2, WindowAfterEffect::FitDocument},
    {"Redimensionner1", 2, WindowAfterEffect::FitDocument},
    {"Bouton3", 2, WindowAfterEffect::Keep},
    {"Borduredcomposer2", 1, WindowAfterEffect::Keep},
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

TEST_F(TransformRows, MenuSettingsOfTheBevelAndBlends)
{
    // "&Bouton" on white: 155 at the bottom.
    EXPECT_EQ(run("Bouton1", filled(12, 12, kWhite)).pixel(6, 11), makeColour(155, 155, 155));
    // Position 1 of "Bordure décomposée..." is no border.
    const Bitmap rows = test::greys({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_TRUE(run("Borduredcomposer2", rows, {1}) == rows);
    EXPECT_EQ(test::greysOf(run("Borduredcomposer2", rows, {30})), (test::Grid{{7, 8, 7}, {4, 5, 4}, {7, 8, 7}}));
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
