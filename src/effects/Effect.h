#pragma once
// An effect command as one declaration: the component name of its menu item,
// its caption, the values its dialog would supply, and its pixel routine.
// The menu, the batch command line and the effects index all run effects
// from these declarations through applyEffect (EffectFrame.h).
#include "graphics/Bitmap.h"
#include "graphics/Random.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace px {

// What a routine may read besides the bitmap.
struct EffectContext {
    Colour mainColour = kBlack;       // MainColour
    Colour backgroundColour = kWhite; // BackgroundColour
    // The brush colour that the document's canvas holds (white on a canvas
    // that nothing has set); XorWithBrush uses it.
    Colour brushColour = kWhite;
    RandomGenerator* random = nullptr; // the shared generator
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
};

// Raised by a routine for a run-time error the user must see (a divisor of
// 0 typed into a dialog, for example); the document keeps its state.
class EffectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct EffectCommand {
    // How the routine meets the document. InPlace: it edits the document
    // bitmap. WorkCopy: it reads the document and writes a 24-bit work
    // bitmap of the same size, which then replaces the document.
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

    using InPlaceRoutine = std::function<void(Bitmap&, const EffectContext&, std::span<const int>)>;
    using WorkCopyRoutine = std::function<void(const Bitmap&, Bitmap&, const EffectContext&, std::span<const int>)>;
    InPlaceRoutine inPlace;
    WorkCopyRoutine workCopy;
};

// The declared effect commands, in menu order; found by component name.
class EffectRegistry {
public:
    void add(EffectCommand command);
    const EffectCommand* find(const std::string& name) const;
    const std::vector<EffectCommand>& all() const { return commands_; }

private:
    std::vector<EffectCommand> commands_;
};

// Every effect command of the program.
EffectRegistry makeEffectRegistry();

} // namespace px
