#pragma once
// The families of effect rows whose routines live in this folder. Each adds
// its rows in menu order; registry/EffectRegistry.h assembles them with the
// families of the other folders.
#include "effects/Effect.h"

namespace px {

// "Effe&ts" > "&Déformations": the twirl, the lens, the blurred enlargement
// and the strip, tile and shape deformations.
void addDeformationCommands(EffectRegistry& registry);

// "Effe&ts" > "&Hallucination", "Mira&ge", "Mosaï&que" and "Re&flet".
void addHallucinationMirageMosaicReflectionCommands(EffectRegistry& registry);

} // namespace px
