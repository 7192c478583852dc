#pragma once
// The families of effect rows whose routines live in this folder. Each adds
// its rows in menu order; registry/EffectRegistry.h assembles them with the
// families of the other folders.
#include "effects/Effect.h"

namespace px {

// "Effe&ts": "A&ntialias", the "&Filtres" submenu, "&Sculpture" and "&Trait".
void addFilterCommands(EffectRegistry& registry);

// "&Couleurs", "Effe&ts" > "Br&uit" and "&Formats des pixels".
void addColourAdjustmentCommands(EffectRegistry& registry);

} // namespace px
