#pragma once
// The copy loops of the column slides ("Lamelle", "Triangle") and of
// "Cryptée", chosen at run time; the tests run each one the processor has.
#include "graphics/Bitmap.h"

namespace px::strips {

enum class SlideLanes {
    Plain,  // one pixel per copy
    Avx512, // sixteen pixels per vector (AVX-512 F, BW, VL and VBMI)
};

// The widest the processor has (AVX-512 F, BW, VL and VBMI).
SlideLanes bestSlideLanes();

void lamelleWith(Bitmap& bitmap, int a, SlideLanes lanes);
void triangleWith(Bitmap& bitmap, int a, SlideLanes lanes);
// Plain: run copies on every row; Avx512: rows of short runs sixteen
// pixels at a time, one byte permutation each, the other rows one masked
// store per run of up to 21 pixels.
void crypteeWith(Bitmap& bitmap, int a, SlideLanes lanes);

} // namespace px::strips
