#include "effects/AdjustmentSetup.h"

#include <string>

namespace px {

AdjustmentDialogSetup oneTrackBar(const char* caption, int maximum, int tickFrequency)
{
    AdjustmentDialogSetup setup;
    setup.caption = caption;
    setup.trackBars.push_back({.minimum = 0,
                               .maximum = maximum,
                               .tickFrequency = tickFrequency,
                               .rangeLabels = {"0", std::to_string(maximum)}});
    return setup;
}

} // namespace px
