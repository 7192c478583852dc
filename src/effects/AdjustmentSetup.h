#pragma once
// What an adjustment dialog shows: its caption, the titles of its previews,
// its track bars with their ranges and labels. Plain data, so that an effect
// row can carry the dialog that gives it its values and the dialog is built
// from the row (effects/dialogs/AdjustmentDialog.h).
#include <string>
#include <vector>

namespace px {

struct TrackBarSetup {
    int minimum = 0;
    int maximum = 0;
    int tickFrequency = 1;
    std::vector<std::string> rangeLabels; // from the minimum end to the maximum end
    const char* caption = nullptr;        // a caption of its own ("R :"), or none
    const char* valueLabelName = nullptr; // objectName of its value label, or a numbered Label
    const char* parameter = "POSITION";   // the value's name on the batch command line
    // The minimum position stands for "no effect", as 0 does for a track bar
    // that starts at 0: its value label shows 0 and OK there applies nothing.
    bool minimumIsNone = false;
};

struct AdjustmentDialogSetup {
    const char* caption = "";
    const char* destinationTitle = "Image de destination";
    // The caption before the track bars; none when each track bar has its own.
    const char* valueCaption = "Valeur :";
    std::vector<TrackBarSetup> trackBars;
    // Value labels show a value above 0 as "+12".
    bool signedValues = false;
    // The preview runs only when this button (Button3) is pressed; moving a
    // track bar then only updates its value label.
    const char* previewButton = nullptr;
    // OK applies the row even when every position is 0.
    bool appliesAtZero = false;
    // OK applies nothing while this track bar is at rest, whatever the
    // others hold (-1: only when every track bar is at rest).
    int gatingTrackBar = -1;
    // Moving the track bars back to 0 leaves the destination preview as it
    // was instead of showing the source again.
    bool keepsPreviewAtZero = false;
    // The size of each preview. Whatever it is, a document wider than 121 or
    // taller than 137 pixels is shown stretched.
    int previewWidth = 121;
    int previewHeight = 137;
};

// A track bar is at rest at 0, or at its minimum when that stands for no
// effect.
inline bool trackBarAtRest(const TrackBarSetup& t, int position)
{
    return position == 0 || (t.minimumIsNone && position == t.minimum);
}

// The usual one-track-bar dialog: 0..maximum, range labels "0" and the
// maximum.
AdjustmentDialogSetup oneTrackBar(const char* caption, int maximum, int tickFrequency);

} // namespace px
