#pragma once
// The gradients of "&Construire dégrader...": eight styles that fill a
// whole bitmap with shapes whose colours step from a start colour to an end
// colour. Every shape is filled without an outline, through the canvas.
#include "graphics/Bitmap.h"

#include <array>
#include <cstdint>

namespace px {

// Style numbers as the dialog's items map to them.
enum class GradientStyle {
    Horizontal = 0,
    Vertical = 1,
    Elliptic = 2,
    Rectangle = 3,
    VertCentre = 4,
    HorizCentre = 5,
    Radial1 = 6,
    Radial2 = 7,
};
inline constexpr int kGradientStyleCount = 8;

// The style names in style-number order.
extern const std::array<const char*, kGradientStyleCount> kGradientStyleNames;

// i * d div n with a 64-bit product, truncated towards zero; 0 when n is 0
// (a one-pixel image has no room for a step).
std::int64_t gradientScale(std::int64_t i, std::int64_t d, std::int64_t n);

// Colour step i of `steps` from `start` to `end`: each channel is the start
// channel plus gradientScale(i, end - start, steps), kept to its low byte.
Colour gradientColour(Colour start, Colour end, int i, int steps);

// Fills the whole of `bitmap` (made 24 bits) with the style.
void renderGradient(Bitmap& bitmap, GradientStyle style, Colour start, Colour end);

} // namespace px
