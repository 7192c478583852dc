#include "registry/EffectRegistry.h"

#include "effects/EffectFamilies.h"

namespace px {

EffectRegistry makeEffectRegistry()
{
    EffectRegistry r;
    addFilterCommands(r);
    addColourAdjustmentCommands(r);
    return r;
}

} // namespace px
