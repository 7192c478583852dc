// The deformation rows: each runs its routine with its fixed amount, the
// dialog rows run it with the track-bar position, and position 0 changes
// nothing. (The dialogs themselves are tested through the menu, in
// tests/app.)
#include "effects/Blur.h"
#include "effects/EffectFrame.h"
#include "effects/EffectTestHelpers.h"
#include "transforms/Deformations.h"
#include "transforms/StripEffects.h"
#include "transforms/TransformFamilies.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace px {
namespace {

EffectRegistry deformationRows()
{
    EffectRegistry r;
    addDeformationCommands(r);
    addHallucinationMirageMosaicReflectionCommands(r);
    return r;
}

struct RowCase {
    const char* name;
    std::vector<int> values;
    std::function<void(const Bitmap&, Bitmap&)> expected; // from the source into the result
};

void PrintTo(const RowCase& c, std::ostream* os)
{
    *os << c.name;
}

std::function<void(const Bitmap&, Bitmap&)> inPlace(std::function<void(Bitmap&)> routine)
{
    return [routine](const Bitmap& source, Bitmap& result) {
        result = source;
        routine(result);
    };
}

class DeformationRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(DeformationRow, RunsItsRoutineWithItsAmount)
{
    const RowCase& c = GetParam();
    const EffectRegistry registry = deformationRows();
    const EffectCommand* row = registry.find(c.name);
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(checkEffectValues(*row, c.values), "");
    std::mt19937 rng(9);
    const Bitmap source = test::randomImage(rng, 23, 19);
    Bitmap document = source;
    EffectScratch scratch;
    applyEffect(*row, document, EffectContext{}, c.values, scratch);
    Bitmap expected;
    c.expected(source, expected);
    EXPECT_TRUE(document == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeformationRow,
    ::testing::Values(RowCase{"Agrandissementflou1", {}, inPlace([](Bitmap& b) { AgrandissementFlou(b); })},
                      RowCase{"Crypter1", {}, inPlace([](Bitmap& b) { Cryptee(b, 50); })},
                      RowCase{"Decomposer1", {}, inPlace([](Bitmap& b) { Decomposee(b, 50); })},
                      RowCase{"Dcomposerplus1", {}, inPlace([](Bitmap& b) { Decomposee(b, 100); })},
                      RowCase{"Fisheye1", {}, [](const Bitmap& s, Bitmap& r) { Fisheye(s, r, 1.0f); }},
                      RowCase{"Hexagone1", {}, inPlace([](Bitmap& b) { Formes(b, 10, 100); })},
                      RowCase{"Rideau1", {}, inPlace([](Bitmap& b) { Rideau(b, 15, 100); })},
                      RowCase{"Rond1", {}, inPlace([](Bitmap& b) { Formes(b, 12, 100); })},
                      RowCase{"Sablier1", {}, inPlace([](Bitmap& b) { Formes(b, 13, 100); })},
                      RowCase{"Trapeze2", {}, inPlace([](Bitmap& b) { Formes(b, 8, 100); })},
                      RowCase{"Trapeze1", {}, inPlace([](Bitmap& b) { Formes(b, 9, 100); })},
                      RowCase{"Lamelle1", {}, inPlace([](Bitmap& b) { Lamelle(b, 90); })},
                      RowCase{"Lamelleplus1", {}, inPlace([](Bitmap& b) { Lamelle(b, 50); })},
                      RowCase{"Multiplieur2", {}, inPlace([](Bitmap& b) { Multiplieur(b, 100); })},
                      RowCase{"Multiplieurplus1", {}, inPlace([](Bitmap& b) { Multiplieur(b, 50); })},
                      RowCase{"Multplieurchev1", {}, inPlace([](Bitmap& b) { MultiplieurChevauche(b, 150); })},
                      RowCase{"MultiplieurChevauchplus1", {}, inPlace([](Bitmap& b) { MultiplieurChevauche(b, 75); })},
                      RowCase{"Tordre1", {}, [](const Bitmap& s, Bitmap& r) { Tordre(s, r, 90); }},
                      RowCase{"Tordreplus1", {}, [](const Bitmap& s, Bitmap& r) { Tordre(s, r, 20); }},
                      RowCase{"Tordre3", {45}, [](const Bitmap& s, Bitmap& r) { Tordre(s, r, 45); }},
                      RowCase{"Tordre3", {0}, inPlace([](Bitmap&) {})},
                      RowCase{"Triangle1", {}, inPlace([](Bitmap& b) { Triangle(b, 100); })},
                      RowCase{"Triangleplus1", {}, inPlace([](Bitmap& b) { Triangle(b, 150); })},
                      RowCase{"Allucination", {}, inPlace([](Bitmap& b) { Hallucination(b, 5); })},
                      RowCase{"Allucinationplus1", {}, inPlace([](Bitmap& b) { Hallucination(b, 10); })},
                      RowCase{"Allucination2", {7}, inPlace([](Bitmap& b) { Hallucination(b, 7); })},
                      RowCase{"Allucination2", {0}, inPlace([](Bitmap&) {})},
                      RowCase{"Mirage1", {}, inPlace([](Bitmap& b) { Mirage(b, 4); })},
                      RowCase{"Mirageplus1", {}, inPlace([](Bitmap& b) { Mirage(b, 2); })},
                      RowCase{"Mirage3", {3}, inPlace([](Bitmap& b) { Mirage(b, 3); })},
                      RowCase{"Mirage3", {0}, inPlace([](Bitmap&) {})},
                      RowCase{"Mosaique2", {}, inPlace([](Bitmap& b) { Mosaique(b, 3); })},
                      RowCase{"Mosaqueplus1", {}, inPlace([](Bitmap& b) { Mosaique(b, 5); })},
                      RowCase{"Mosaque2", {4}, inPlace([](Bitmap& b) { Mosaique(b, 4); })},
                      RowCase{"refHorizontal1", {}, inPlace([](Bitmap& b) { RefletHorizontal(b); })},
                      RowCase{"refVertical1", {}, inPlace([](Bitmap& b) { RefletVertical(b); })}));

} // namespace
} // namespace px
