#pragma once
// The track-bar dialogs of the colour adjustments: their captions, ranges,
// tick frequencies and range labels. The mapping from positions to the
// routine's amount lives in the effect row each dialog drives.
#include "effects/dialogs/AdjustmentDialog.h"

namespace px {

AdjustmentDialogSetup brightnessDialogSetup(); // TForm9 "Luminosité...", row Luminosit1
AdjustmentDialogSetup contrastDialogSetup();   // TForm7 "Contraste...", row Contraste2
AdjustmentDialogSetup saturationDialogSetup(); // TForm34 "Saturation...", row Saturation3
AdjustmentDialogSetup eclipseDialogSetup();    // TForm35 "Eclipse...", row Eclipse3
AdjustmentDialogSetup brightenDialogSetup();   // TForm42 "Eclaircir...", row Eclaircir3
AdjustmentDialogSetup rgbDialogSetup();        // TForm38 "Ajuster RVB...", row AjusterRVB1

} // namespace px
