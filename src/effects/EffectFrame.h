#pragma once
// The pixel part of every effect command: convert the document to 24 bits
// when the command asks for it, then run its routine in the shape it
// declares. The window part (hour-glass, undo snapshot, repaint, overview)
// wraps this in the application.
#include "effects/Effect.h"

namespace px {

// Work bitmaps for WorkCopy routines, kept between commands so that large
// images do not pay for fresh memory at every command.
class EffectScratch {
public:
    Bitmap& work(int width, int height);

private:
    Bitmap work_;
};

// Runs `command` on `document` with the given values (already validated
// against the declared parameters). EffectError from the routine propagates
// with the document unchanged except for the 24-bit conversion.
void applyEffect(const EffectCommand& command, Bitmap& document, const EffectContext& context,
                 std::span<const int> values, EffectScratch& scratch);

// The result of `command` a band at a time, for a caller that only passes
// it on: the document is converted to 24 bits as applyEffect would, and the
// bands read it. Empty when the command has no band form for these values;
// applyEffect is then the way (its 24-bit conversion is already done).
std::optional<EffectBands> effectBands(const EffectCommand& command, Bitmap& document, const EffectContext& context,
                                       std::span<const int> values);

// Checks values against the declared parameters (optional ones may be left
// out at the end); returns an error text naming the first bad value, or an
// empty string.
std::string checkEffectValues(const EffectCommand& command, std::span<const int> values);

} // namespace px
