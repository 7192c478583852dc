#pragma once
// The families of effect rows whose routines live in this folder. Each adds
// its rows in menu order; registry/EffectRegistry.h assembles them with the
// families of the other folders.
#include "effects/Effect.h"

namespace px {

// "&Image": the mirrors, "Miroir m&ultiplieur", "&Rotation...",
// "&Etirer les bords..." and "Re&dimensionner...".
void addGeometryCommands(EffectRegistry& registry);

// "&Image": "&Ajouter une bordure..." and the "&Bordure" submenu.
void addFrameCommands(EffectRegistry& registry);

// "&Image": "&Construire dégrader..." and "Plas&ma".
void addGeneratedImageCommands(EffectRegistry& registry);

// "Effe&ts": the "B&outon" and "Bo&rdure décomposée" submenus.
void addBevelAndBlendCommands(EffectRegistry& registry);

// "Effe&ts": "&Bande dessinée", "F&ormes", "Mar&bre" and "S&pray".
void addTextureCommands(EffectRegistry& registry);

// "Effe&ts" > "&Déformations": the twirl, the lens, the blurred enlargement
// and the strip, tile and shape deformations.
void addDeformationCommands(EffectRegistry& registry);

// "Effe&ts" > "&Hallucination", "Mira&ge", "Mosaï&que" and "Re&flet".
void addHallucinationMirageMosaicReflectionCommands(EffectRegistry& registry);

} // namespace px
