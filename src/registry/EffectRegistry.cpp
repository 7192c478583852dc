#include "registry/EffectRegistry.h"

#include "effects/EffectFamilies.h"
#include "transforms/TransformFamilies.h"

namespace px {

EffectRegistry makeEffectRegistry()
{
    EffectRegistry r;
    addGeometryCommands(r);
    addFrameCommands(r);
    addGeneratedImageCommands(r);
    addFilterCommands(r);
    addBevelAndBlendCommands(r);
    addTextureCommands(r);
    addColourAdjustmentCommands(r);
    addDeformationCommands(r);
    addHallucinationMirageMosaicReflectionCommands(r);
    return r;
}

} // namespace px
