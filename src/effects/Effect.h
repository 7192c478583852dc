#pragma once
// An effect command as one declaration: the component name of its menu item,
// its caption, the values its dialog would supply, how the user gives them,
// and its pixel routine. The menu, the start-up dialogs, the batch command
// line and the effects index are all derived from these declarations, and
// run them through applyEffect (EffectFrame.h).
//
// Each family of routines declares its rows beside them; the registry of the
// whole program is assembled in registry/EffectRegistry.h.
#include "effects/AdjustmentSetup.h"
#include "graphics/Bitmap.h"
#include "graphics/Random.h"
#include "graphics/RowBand.h"

#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace px {

class Canvas;

// What a routine may read besides the bitmap.
struct EffectContext {
    Colour mainColour = kBlack;       // MainColour
    Colour backgroundColour = kWhite; // BackgroundColour
    // The brush colour that the document's canvas holds (white on a canvas
    // that nothing has set); XorWithBrush uses it.
    Colour brushColour = kWhite;
    RandomGenerator* random = nullptr; // the shared generator
    // The document's canvas, whose pen and brush persist between commands
    // (the frames draw with them and leave them changed). Null when the
    // routine runs on a bitmap without one, such as a preview copy.
    Canvas* canvas = nullptr;
};

// A value that the command's dialog supplies. Colours travel as packed
// $00BBGGRR integers; choices as the index into `choices`.
struct EffectParameter {
    enum class Kind { Integer, Colour, Choice };
    std::string name; // as the batch command line documents it, e.g. "POSITION"
    Kind kind = Kind::Integer;
    int minimum = 0;
    int maximum = 0;
    std::vector<std::string> choices;
    // What the range alone does not say about the value (documented by
    // --list-commands), or empty.
    std::string note;
    // May be left out at the end of the values (the batch command line's
    // "Rotation3=Droite,90"); the routine then receives fewer values.
    bool optional = false;
};

// Raised by a routine for a run-time error the user must see (a divisor of
// 0 typed into a dialog, for example); the document keeps its state.
class EffectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How the menu item of a row obtains the row's values.
enum class EffectBinding {
    None,      // no values: the item applies the row at once
    TrackBars, // an adjustment dialog built from the row's `adjustment` setup
    Dialog,    // a dialog of its own, found by the row's `dialog` form name
    Colour,    // the colour dialog gives the row's one colour value
};

// What the image window does once a row has changed its document.
enum class WindowAfterEffect {
    Keep,        // stays as it is (the view follows the document's size)
    FitDocument, // its client area takes the document's size
    Cascade,     // the main window cascades its image windows
};

// A WorkCopy result given a band of rows at a time: its size, and what
// writes rows band.first..band.end-1 of it (from the document, which must
// outlive the bands; bands may come in any order). For callers that only
// pass the result on, such as a batch run writing it to a file, so that the
// result never exists whole beside its source.
struct EffectBands {
    int width = 0;
    int height = 0;
    std::function<void(const RowBand&)> fill;
};

struct EffectCommand {
    // How the routine meets the document. InPlace: it edits the document
    // bitmap. WorkCopy: it reads the document and writes a 24-bit work
    // bitmap of the same size (or reallocates it to another size), which
    // then replaces the document.
    enum class Shape { InPlace, WorkCopy };

    std::string name;    // component name of the menu item, e.g. "Grisatre1"
    std::string caption; // menu caption with its '&', e.g. "&Grisâtre"
    std::vector<EffectParameter> parameters;
    Shape shape = Shape::InPlace;
    // Most commands convert the document to 24 bits first; "&Grisâtre"
    // keeps indexed documents indexed.
    bool convertTo24 = true;
    // WorkCopy only: the work bitmap starts as a copy of the document (for
    // routines that leave some pixels alone).
    bool workStartsAsCopy = false;

    EffectBinding binding = EffectBinding::None;
    // The form name of the dialog (TrackBars and Dialog): "TForm9". The
    // dialog is created once at start and reused.
    std::string dialog;
    // TrackBars: the dialog's captions and track bars; the row's values are
    // the track bar positions, in order.
    std::optional<AdjustmentDialogSetup> adjustment;
    // Colour and Dialog: the undo snapshot is taken before the dialog
    // opens, so a cancelled dialog still leaves a step in the history.
    bool snapshotBeforeDialog = false;
    WindowAfterEffect windowAfter = WindowAfterEffect::Keep;
    // The menu family the row belongs to ("Filtres", "Couleurs"...) and the
    // one-line description the effects index shows (empty when the index
    // does not list the row).
    std::string category;
    std::string description;

    using InPlaceRoutine = std::function<void(Bitmap&, const EffectContext&, std::span<const int>)>;
    using WorkCopyRoutine = std::function<void(const Bitmap&, Bitmap&, const EffectContext&, std::span<const int>)>;
    InPlaceRoutine inPlace;
    WorkCopyRoutine workCopy;
    // WorkCopy only, optional: the result a band at a time, exactly what
    // `workCopy` writes. Empty for values that have no band form. Throws
    // what `workCopy` would before anything is written.
    using BandsRoutine =
        std::function<std::optional<EffectBands>(const Bitmap&, const EffectContext&, std::span<const int>)>;
    BandsRoutine bands;
};

// The values of a track-bar dialog: one per track bar, named and bounded as
// the track bar is.
std::vector<EffectParameter> trackBarParameters(const AdjustmentDialogSetup& setup);

// True when the row's dialog would apply nothing with these values: a
// track-bar row with every position at 0 (unless its dialog applies at 0).
// Nothing at all changes then, not even the pixel format.
bool appliesNothing(const EffectCommand& command, std::span<const int> values);

// The declared effect commands, in menu order; found by component name.
class EffectRegistry {
public:
    // Adds the row; a TrackBars row takes its parameters from its setup.
    void add(EffectCommand command);
    const EffectCommand* find(const std::string& name) const;
    const std::vector<EffectCommand>& all() const { return commands_; }

private:
    std::vector<EffectCommand> commands_;
};

} // namespace px
