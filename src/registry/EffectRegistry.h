#pragma once
// Every effect row of the program, assembled from the families of effects/
// and transforms/ in menu order. The menu handlers, the start-up dialogs,
// the batch command line and the effects index all start from here.
#include "effects/Effect.h"

namespace px {

EffectRegistry makeEffectRegistry();

} // namespace px
