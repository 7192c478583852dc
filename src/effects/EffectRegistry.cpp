#include "effects/ColourAdjustments.h"
#include "effects/Convolution.h"
#include "effects/Effect.h"
#include "effects/SharedRoutines.h"

namespace px {

namespace {

// "&Couleurs" menu.
void addColourCommands(EffectRegistry& r)
{
    r.add({.name = "Grisatre1",
           .caption = "&Grisâtre",
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .convertTo24 = false,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) { GrisatreImage(b); }});
}

} // namespace

EffectRegistry makeEffectRegistry()
{
    EffectRegistry r;
    addFilterCommands(r);
    addColourCommands(r);
    addColourAdjustmentCommands(r);
    return r;
}

} // namespace px
