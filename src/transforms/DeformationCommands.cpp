// The effect rows of the deformations: "Effe&ts" > "&Déformations" and the
// "&Hallucination", "Mira&ge", "Mosaï&que" and "Re&flet" submenus.
#include "transforms/TransformFamilies.h"

#include "effects/Blur.h"
#include "effects/Parallel.h"
#include "transforms/Deformations.h"
#include "transforms/StripEffects.h"

namespace px {

namespace {

constexpr const char* kDeformations = "Déformations";

struct Row {
    const char* name;
    const char* caption;
    const char* description;
};

void addInPlace(EffectRegistry& r, const char* category, Row row, EffectCommand::InPlaceRoutine routine)
{
    r.add({.name = row.name,
           .caption = row.caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = category,
           .description = row.description,
           .inPlace = std::move(routine)});
}

// A routine of the bitmap and one fixed amount.
void addFixed(EffectRegistry& r, const char* category, Row row, void (*routine)(Bitmap&, int), int amount)
{
    addInPlace(r, category, row,
               [routine, amount](Bitmap& b, const EffectContext&, std::span<const int>) { routine(b, amount); });
}

// A "Formes" shape (Rideau is shape 15 of its own routine).
void addShape(EffectRegistry& r, Row row, void (*routine)(Bitmap&, int, int), int shape)
{
    addInPlace(r, kDeformations, row,
               [routine, shape](Bitmap& b, const EffectContext&, std::span<const int>) { routine(b, shape, 100); });
}

void addTwirl(EffectRegistry& r, Row row, int twist)
{
    r.add({.name = row.name,
           .caption = row.caption,
           .parameters = {},
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kDeformations,
           .description = row.description,
           .workCopy = [twist](const Bitmap& source, Bitmap& work, const EffectContext&, std::span<const int>) {
               Tordre(source, work, twist, effectThreadCount());
           }});
}

// A one-track-bar dialog whose position is the routine's amount; position
// 0 applies nothing.
void addDialog(EffectRegistry& r, const char* category, Row row, const char* form, AdjustmentDialogSetup setup,
               void (*routine)(Bitmap&, int))
{
    r.add({.name = row.name,
           .caption = row.caption,
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::TrackBars,
           .dialog = form,
           .adjustment = std::move(setup),
           .category = category,
           .description = row.description,
           .inPlace = [routine](Bitmap& b, const EffectContext&, std::span<const int> v) {
               if (v[0] != 0)
                   routine(b, v[0]);
           }});
}

// The dialogs whose destination preview stays as it was when the track bar
// returns to 0.
AdjustmentDialogSetup keepingPreviewAtZero(AdjustmentDialogSetup setup)
{
    setup.keepsPreviewAtZero = true;
    return setup;
}

} // namespace

void addDeformationCommands(EffectRegistry& r)
{
    addInPlace(r, kDeformations,
               {"Agrandissementflou1", "&Agrandissement flou",
                "Agrandissement du bord droit de l'image en lui donnant en effet \nflou "},
               [](Bitmap& b, const EffectContext&, std::span<const int>) { AgrandissementFlou(b); });
    addFixed(r, kDeformations, {"Crypter1", "&Cryptée", "Crypte l'image"}, Cryptee, 50);
    addFixed(r, kDeformations, {"Decomposer1", "&Décomposée", "Décompose l'image"}, Decomposee, 50);
    addFixed(r, kDeformations, {"Dcomposerplus1", "Décomposée &plus", "Décompose encore plus l'image"}, Decomposee,
             100);
    r.add({.name = "Fisheye1",
           .caption = "&Fisheye",
           .parameters = {},
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kDeformations,
           .description = "Déforme l'image en forme de boule",
           .workCopy = [](const Bitmap& source, Bitmap& work, const EffectContext&, std::span<const int>) {
               Fisheye(source, work, 1.0f, effectThreadCount());
           }});
    // "F&ormes".
    addShape(r, {"Hexagone1", "&Hexagone", "Déforme l'image en forme d'hexagone"}, Formes, 10);
    addShape(r, {"Rideau1", "&Rideau", "Déforme l'image en forme de rideau"}, Rideau, 15);
    addShape(r, {"Rond1", "R&ond", "Déforme l'image en forme de rond"}, Formes, 12);
    addShape(r, {"Sablier1", "&Sablier", "Déforme l'image en forme de sablier"}, Formes, 13);
    addShape(r, {"Trapeze2", "&Trapèze bas", "Déforme l'image en forme de trapèze"}, Formes, 8);
    addShape(r, {"Trapeze1", "Tra&pèze haut", "Déforme l'image en forme de trapèze"}, Formes, 9);
    addFixed(r, kDeformations, {"Lamelle1", "&Lamelle", "Déforme l'image en forme de lamelle"}, Lamelle, 90);
    addFixed(r, kDeformations, {"Lamelleplus1", "Lamelle &plus", "Déforme encore plus l'image en forme de lamelle"},
             Lamelle, 50);
    addFixed(r, kDeformations, {"Multiplieur2", "&Multiplieur", ""}, Multiplieur, 100);
    addFixed(r, kDeformations, {"Multiplieurplus1", "Multiplieur &plus", ""}, Multiplieur, 50);
    addFixed(r, kDeformations, {"Multplieurchev1", "&Multiplieur chevauché", "Multiplit l'image en chevauchement"},
             MultiplieurChevauche, 150);
    addFixed(
        r, kDeformations,
        {"MultiplieurChevauchplus1", "Multiplieur chevauché &plus", "Multiplit encore plus l'image en chevauchement"},
        MultiplieurChevauche, 75);
    addTwirl(r, {"Tordre1", "&Tordre", "Déforme l'image en la tordant"}, 90);
    addTwirl(r, {"Tordreplus1", "Tordre &plus", "Déforme l'image en la tordant encore plus"}, 20);
    // The previews of "Tordre..." are two pixels smaller than the others'.
    AdjustmentDialogSetup twirl = keepingPreviewAtZero(oneTrackBar("Tordre...", 300, 12));
    twirl.previewWidth = 119;
    twirl.previewHeight = 135;
    r.add({.name = "Tordre3",
           .caption = "Tordre...",
           .shape = EffectCommand::Shape::WorkCopy,
           .workStartsAsCopy = true,
           .binding = EffectBinding::TrackBars,
           .dialog = "TForm45",
           .adjustment = std::move(twirl),
           .category = kDeformations,
           .workCopy = [](const Bitmap& source, Bitmap& work, const EffectContext&, std::span<const int> v) {
               if (v[0] != 0)
                   Tordre(source, work, v[0], effectThreadCount());
           }});
    addFixed(r, kDeformations, {"Triangle1", "&Triangle", "Déforme l'image en forme de triangle"}, Triangle, 100);
    addFixed(r, kDeformations, {"Triangleplus1", "Triangle &plus", "Déforme encore plus l'image en forme de triangle"},
             Triangle, 150);
}

void addHallucinationMirageMosaicReflectionCommands(EffectRegistry& r)
{
    constexpr const char* kHallucination = "Hallucination";
    addFixed(r, kHallucination, {"Allucination", "&Hallucination", "Donne une impression d'allucination de l'image"},
             Hallucination, 5);
    addFixed(r, kHallucination,
             {"Allucinationplus1", "Hallucination &plus", "Donne une impression d'allucination plus forte de l'image"},
             Hallucination, 10);
    addDialog(r, kHallucination, {"Allucination2", "Ha&llucination...", ""}, "TForm39",
              oneTrackBar("Hallucination...", 200, 10), Hallucination);

    constexpr const char* kMirage = "Mirage";
    addFixed(r, kMirage, {"Mirage1", "&Mirage", "Donne un effet de mirage à l'image"}, Mirage, 4);
    addFixed(r, kMirage, {"Mirageplus1", "Mirage &plus", "Donne encore plus un effet de mirage à l'image"}, Mirage, 2);
    addDialog(r, kMirage, {"Mirage3", "M&irage...", ""}, "TForm44",
              keepingPreviewAtZero(oneTrackBar("Mirage...", 20, 1)), Mirage);

    constexpr const char* kMosaic = "Mosaïque";
    addFixed(r, kMosaic, {"Mosaique2", "&Mosaïque", "Applique l'effet mosaïque à l'image"}, Mosaique, 3);
    addFixed(r, kMosaic, {"Mosaqueplus1", "Mosaïque &plus", "Applique encore plus l'effet mosaïque à l'image"},
             Mosaique, 5);
    addDialog(r, kMosaic, {"Mosaque2", "M&osaïque...", ""}, "TForm43", oneTrackBar("Mosaïque...", 50, 2), Mosaique);

    constexpr const char* kReflection = "Reflet";
    addInPlace(r, kReflection,
               {"refHorizontal1", "&Reflet horizontal", "Donne l'impression d'un reflet horizontal de l'image"},
               [](Bitmap& b, const EffectContext&, std::span<const int>) { RefletHorizontal(b); });
    addInPlace(r, kReflection,
               {"refVertical1", "R&eflet vertical", "Donne l'impression d'un reflet vertical de l'image"},
               [](Bitmap& b, const EffectContext&, std::span<const int>) { RefletVertical(b); });
}

} // namespace px
