#pragma once
// The ways the blended border can run, so that tests can hold each one to
// the rule on the processor they run on.
#include "graphics/Bitmap.h"

namespace px::borders {

enum class Path {
    Scalar, // one byte at a time
    Avx2,   // rows eight bytes at a time, columns one byte at a time
    Avx512, // rows and columns sixteen bytes at a time
};

// Whether the processor can run `path`.
bool pathAvailable(Path path);

// BordureDecomposee along `path`, which must be available.
void bordureDecomposeeWith(Bitmap& bitmap, int n, Path path);

} // namespace px::borders
