#pragma once
// The spectrum picture of the colour panel: 45 x 96 pixels, 24 bits. Row y
// carries hue y * 360 / 96 degrees (red at the top, then yellow at row 16,
// green 32, cyan 48, blue 64, magenta 80, back toward red at row 95). Along a
// row the colour runs from black (column 0) to the full-strength hue
// (column 22) to white (column 44).
#include "graphics/Bitmap.h"

namespace px {

inline constexpr int kSpectrumWidth = 45;
inline constexpr int kSpectrumHeight = 96;

// The full-strength colour of row y (0..95).
Colour spectrumHue(int y);
// The colour at (x, y); black outside the picture.
Colour spectrumColour(int x, int y);
Bitmap makeSpectrum();

} // namespace px
