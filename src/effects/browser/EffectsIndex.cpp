#include "effects/browser/EffectsIndex.h"

#include "effects/ColourAdjustments.h"
#include "effects/Parallel.h"
#include "transforms/StripEffects.h"

#include <string_view>

namespace px {

namespace {

// Alphabetical as the list shows it (the French list's own order, so
// "Bouton" comes before "Bordure décomposer").
constexpr IndexEntry kEntries[] = {
    {"Adoucir", "Adoucir1"},
    {"Adoucir plus", "Adoucirplus1"},
    {"Agrandissement flou", "Agrandissementflou1"},
    {"Antialias", "Antialias1"},
    {"Bande dessinée", "Bandedess1"},
    {"Bouton", "Bouton1"},
    {"Bordure décomposer", "Borduredecomp1"},
    {"Bordure décomposer plus", "Borduredcomposerplus1"},
    {"Boss", "Boss1"},
    {"Bruit", "Bruit1"},
    {"Bruit plus", "Bruitplus1"},
    {"Bruit avec couleur", "Bruitcouleur1"},
    {"Bruit avec couleur plus", "Bruitaveccouleurplus1"},
    {"Contour", "Contour1"},
    {"Crypter", "Crypter1"},
    {"Décomposée", "Decomposer1"},
    {"Décomposée plus", "Dcomposerplus1"},
    {"Durcir", "Durcir1"},
    {"Durcir plus", "Durcirplus1"},
    {"Emboss", "Emboss1"},
    {"Find edges", "Findedge1"},
    {"Fisheye", "Fisheye1"},
    {"Flou", "Flou1"},
    {"Flou plus", "Flouplus1"},
    {"Focus", "Focus1"},
    {"Gaussian flou", "Gaussianflou1"},
    {"Hallucination", "Allucination"},
    {"Hallucination plus", "Allucinationplus1"},
    {"Hexagone", "Hexagone1"},
    {"Hipass", "Hipass1"},
    {"Lamelle", "Lamelle1"},
    {"Lamelle plus", "Lamelleplus1"},
    {"Laplace", "Laplace1"},
    {"Lithographie", "Lithographie1"},
    {"Mandel", "Mandel1"},
    {"Marbre 1", "Marbre1"},
    {"Marbre 2", "Marbre2"},
    {"Marbre 3", "Marbre31"},
    {"Marbre 4", "Marbre41"},
    {"Marbre 5", "Marbre51"},
    {"Marbre 6", "Marbre61"},
    {"Mirage", "Mirage1"},
    {"Mirage plus", "Mirageplus1"},
    {"Mosaïque", "Mosaique2"},
    {"Mosaïque plus", "Mosaqueplus1"},
    {"Multiplieur chevauché", "Multplieurchev1"},
    {"Multiplieur chevauché plus", "MultiplieurChevauchplus1"},
    {"Ovale", "Ovale1"},
    {"Reflet horizontal", "refHorizontal1"},
    {"Reflet vertical", "refVertical1"},
    {"Relief", "Relief1"},
    {"Rideau", "Rideau1"},
    {"Rond", "Rond1"},
    {"Sablier", "Sablier1"},
    {"Sculpture", "Sculpture1"},
    {"Sharpen", "Sharpen1"},
    {"Spray", "Spray1"},
    {"Spray plus", "Sprayplus1"},
    {"Spray décomposé", "Spraydecomp1"},
    {"Spray décomposé plus", "Spraydcomposerplus1"},
    {"Tordre", "Tordre1"},
    {"Tordre plus", "Tordreplus1"},
    {"Trapèze bas", "Trapeze2"},
    {"Trapèze haut", "Trapeze1"},
    {"Trait", "Trait1"},
    {"Triangle", "Triangle1"},
    {"Triangle plus", "Triangleplus1"},
};

// The two entries whose preview uses a milder amount than their command,
// so that the thumbnail still shows something of the image.
constexpr int kColourNoisePreviewAmount = 50;
constexpr int kTrianglePreviewAmount = 50;

} // namespace

std::span<const IndexEntry> effectsIndexEntries()
{
    return kEntries;
}

const EffectCommand* indexEntryRow(const EffectRegistry& effects, int entry)
{
    if (entry < 0 || entry >= int(std::size(kEntries)))
        return nullptr;
    return effects.find(kEntries[entry].command);
}

EffectContext indexPreviewContext(const EffectContext& document)
{
    EffectContext context = document;
    context.canvas = nullptr;
    return context;
}

void computeIndexPreview(const EffectRegistry& effects, int entry, Bitmap& preview, const EffectContext& context,
                         EffectScratch& scratch)
{
    const EffectCommand* row = indexEntryRow(effects, entry);
    if (!row || preview.isEmpty())
        return;
    const std::string_view name = row->name;
    if (name == "Bruitaveccouleurplus1") {
        RandomGenerator own;
        BruitCouleur(preview, kColourNoisePreviewAmount, context.random ? *context.random : own, effectThreadCount());
    } else if (name == "Triangleplus1") {
        Triangle(preview, kTrianglePreviewAmount);
    } else {
        applyEffect(*row, preview, context, {}, scratch);
    }
}

} // namespace px
