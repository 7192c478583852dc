#include "effects/dialogs/AdjustmentDialogs.h"

namespace px {

namespace {
AdjustmentDialogSetup oneTrackBar(const char* caption, int maximum, int tickFrequency, const char* maximumLabel)
{
    AdjustmentDialogSetup setup;
    setup.caption = caption;
    setup.trackBars.push_back(
        {.minimum = 0, .maximum = maximum, .tickFrequency = tickFrequency, .rangeLabels = {"0", maximumLabel}});
    return setup;
}

TrackBarSetup offsetTrackBar(const char* caption, const char* valueLabelName)
{
    return {.minimum = -255,
            .maximum = 255,
            .tickFrequency = 18,
            .rangeLabels = {"-255", "0", "255"},
            .caption = caption,
            .valueLabelName = valueLabelName};
}
} // namespace

AdjustmentDialogSetup brightnessDialogSetup()
{
    return oneTrackBar("Luminosité...", 200, 10, "200");
}

AdjustmentDialogSetup contrastDialogSetup()
{
    return oneTrackBar("Contraste...", 500, 18, "500");
}

AdjustmentDialogSetup saturationDialogSetup()
{
    return oneTrackBar("Saturation...", 200, 10, "200");
}

AdjustmentDialogSetup eclipseDialogSetup()
{
    return oneTrackBar("Eclipse...", 250, 9, "250");
}

// The sine curve is slow on large images: its preview waits for the button.
AdjustmentDialogSetup brightenDialogSetup()
{
    AdjustmentDialogSetup setup = oneTrackBar("Eclaircir...", 10, 1, "10");
    setup.previewButton = "Aplliquer effet";
    return setup;
}

// Three offsets; OK applies them even when all are 0.
AdjustmentDialogSetup rgbDialogSetup()
{
    AdjustmentDialogSetup setup{.caption = "Ajuster RVB...",
                              .destinationTitle = "Image ajustée",
                              .valueCaption = "Valeurs :",
                              .trackBars = {offsetTrackBar("R :", "RedValueLbl"),
                                            offsetTrackBar("V :", "GreenValueLbl"),
                                            offsetTrackBar("B :", "BlueValueLbl")},
                              .signedValues = true,
                              .appliesAtZero = true};
    return setup;
}

} // namespace px
