#include "effects/dialogs/AdjustmentDialogs.h"

namespace px {

namespace {
AdjustmentDialogSpec oneTrackBar(const char* caption, int maximum, int tickFrequency, const char* maximumLabel)
{
    AdjustmentDialogSpec spec;
    spec.caption = caption;
    spec.trackBars.push_back(
        {.minimum = 0, .maximum = maximum, .tickFrequency = tickFrequency, .rangeLabels = {"0", maximumLabel}});
    return spec;
}

TrackBarSpec offsetTrackBar(const char* caption, const char* valueLabelName)
{
    return {.minimum = -255,
            .maximum = 255,
            .tickFrequency = 18,
            .rangeLabels = {"-255", "0", "255"},
            .caption = caption,
            .valueLabelName = valueLabelName};
}
} // namespace

AdjustmentDialogSpec brightnessDialogSpec()
{
    return oneTrackBar("Luminosité...", 200, 10, "200");
}

AdjustmentDialogSpec contrastDialogSpec()
{
    return oneTrackBar("Contraste...", 500, 18, "500");
}

AdjustmentDialogSpec saturationDialogSpec()
{
    return oneTrackBar("Saturation...", 200, 10, "200");
}

AdjustmentDialogSpec eclipseDialogSpec()
{
    return oneTrackBar("Eclipse...", 250, 9, "250");
}

// The sine curve is slow on large images: its preview waits for the button.
AdjustmentDialogSpec brightenDialogSpec()
{
    AdjustmentDialogSpec spec = oneTrackBar("Eclaircir...", 10, 1, "10");
    spec.previewButton = "Aplliquer effet";
    return spec;
}

// Three offsets; OK applies them even when all are 0.
AdjustmentDialogSpec rgbDialogSpec()
{
    AdjustmentDialogSpec spec{.caption = "Ajuster RVB...",
                              .destinationTitle = "Image ajustée",
                              .valueCaption = "Valeurs :",
                              .trackBars = {offsetTrackBar("R :", "RedValueLbl"),
                                            offsetTrackBar("V :", "GreenValueLbl"),
                                            offsetTrackBar("B :", "BlueValueLbl")},
                              .signedValues = true,
                              .appliesAtZero = true};
    return spec;
}

} // namespace px
