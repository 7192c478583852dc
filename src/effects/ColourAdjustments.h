#pragma once
// Colour adjustments: routines that change each pixel's colour from that
// pixel alone (and, for noise, the shared random generator). All work in
// place on 24-bit bitmaps (B, G, R bytes) and store through ClampByte.
// Every routine's result is independent of the visiting order except the
// noise routines, whose random numbers follow rows top to bottom and pixels
// left to right; `threads` > 1 splits rows and gives the same bytes.
#include "effects/Effect.h"
#include "graphics/Bitmap.h"
#include "graphics/Random.h"

#include <array>
#include <cstdint>

namespace px {

using ByteTable = std::array<std::uint8_t, 256>;

// k := ClampByte(k + (255 - k) * a div 255)
ByteTable luminositeTable(int amount);
// d := |k - 127| * a div 255; k := ClampByte(k - d) for k < 128, else ClampByte(k + d)
ByteTable contrasteTable(int amount);
// k := ClampByte(k - k * a div 255)
ByteTable eclipseTable(int amount);
// n passes of k := round(sin(k / 255 * pi / 2) * 255), halves to even
ByteTable eclaircirTable(int passes);

void Luminosite(Bitmap& bitmap, int amount, int threads = 1);
void Contraste(Bitmap& bitmap, int amount, int threads = 1);
void Eclipse(Bitmap& bitmap, int amount, int threads = 1);
void Eclaircir(Bitmap& bitmap, int passes, int threads = 1);
// Every byte b := table[b].
void applyByteTable(Bitmap& bitmap, const ByteTable& table, int threads = 1);

// m := (B + G + R) div 3 per pixel; k := ClampByte(m + (k - m) * a div 255).
void Saturation(Bitmap& bitmap, int amount, int threads = 1);

// Every byte b := 255 - b.
void Negative(Bitmap& bitmap, int threads = 1);

// Per channel k := k + d, at most 255 when d > 0, at least 0 otherwise.
void AjusterRVB(Bitmap& bitmap, int red, int green, int blue, int threads = 1);

// "Deux couleurs": the kept channel becomes 255 when 1 < k < 100, else 0;
// the two other channels become 0.
enum class KeptChannel { Blue = 0, Green = 1, Red = 2 };
void DeuxCouleurs(Bitmap& bitmap, KeptChannel channel, int threads = 1);

// One offset Random(a) - a div 2 per pixel, added to its three channels.
void Bruit(Bitmap& bitmap, int amount, RandomGenerator& random, int threads = 1);
// An offset per channel, drawn in the order B, G, R.
void BruitCouleur(Bitmap& bitmap, int amount, RandomGenerator& random, int threads = 1);

// The colour value B*65536 + G*256 + R goes through ten steps of: rotate
// the 32-bit value left by one bit, then add 1 when bit 24 is set. The
// result's bytes 0, 1, 2 are the new R, G, B.
std::uint32_t cycleColourValue(std::uint32_t value);
void Cycle(Bitmap& bitmap, int threads = 1);

// Each pixel becomes the tint shaded by its brightest channel:
// f = max(R, G, B) / 255, channel := round(tint channel * f), halves to even.
void Teinte(Bitmap& bitmap, Colour tint, int threads = 1);

// Each pixel keeps its integer saturation and value and takes the hue of
// `colour` (HsvColour.h); a grey colour (hue 0) makes the image grey.
void Colorisation(Bitmap& bitmap, Colour colour, int threads = 1);

// Every pixel whose colour is exactly `from` becomes `to`. Indexed bitmaps
// stay indexed (the new colour is stored as its nearest palette entry).
void ChangerCouleur(Bitmap& bitmap, Colour from, Colour to);

} // namespace px
