#pragma once
// The ways the quarter and free turns are computed: plain pixel loops and
// vector kernels for the processors that have them. Rotations.h picks the
// fastest the processor offers; the tests run each of them.
#include "graphics/Bitmap.h"
#include "graphics/Colour.h"
#include "graphics/RowBand.h"

#include <cstdint>

namespace px::rotation {

enum class Path {
    Plain,  // pixel by pixel
    Ssse3,  // quarter turns: 4 x 4 blocks
    Avx2,   // free turn: eight coordinates at a time
    Avx512, // quarter turns: 16 x 16 blocks; free turn: sixteen pixels at a time
};

// Whether this processor can run `path`.
bool available(Path path);
// The fastest path this processor can run for quarter turns (free turn).
Path quarterPath();
Path freePath();

// RotateRight90Rows / RotateLeft90Rows and RotateFreeRows by `path`, which
// must be available (a path that does not apply to the routine runs the
// plain loop).
void quarterTurnWith(const Bitmap& source, const RowBand& target, bool clockwise, Path path);
void rotateFreeWith(const Bitmap& source, const RowBand& target, int angle, Colour background, Path path);

#if defined(__x86_64__)
// Target rows ty..yEnd-1 of a quarter turn, whole, in blocks of 16 x 16
// pixels (partial blocks at the edges included).
void quarterBandAvx512(const Bitmap& source, const RowBand& target, bool clockwise, int ty, int yEnd);

// What the free turn needs: the centre, the turn's cosine and sine.
struct FreeTurn {
    int cx, cy;
    double c, s;
    const std::uint8_t* background; // blue, green, red
};

// The widest tile rotateFreeTileAvx512 takes.
inline constexpr int kFreeTileWidth = 64;

// Target rows ty..yEnd-1, columns tx..xEnd-1 of the free turn, sixteen
// pixels at a time; returns the first column not done in every row (the
// caller finishes the rows).
int rotateFreeTileAvx512(const Bitmap& source, const RowBand& target, int tx, int xEnd, int ty, int yEnd,
                         const FreeTurn& turn);
#endif

} // namespace px::rotation
