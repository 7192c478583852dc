#pragma once
// Rows of a stretching copy whose destination pixels take scattered source
// pixels (halving, enlarging by odd factors): the source column of every
// destination pixel is looked up once per copy and sixteen destination
// pixels at a time are gathered from a window of the source row with one
// byte permutation (AVX-512 VBMI).
#include <cstdint>
#include <vector>

namespace px::stretch {

// Sixteen destination pixels (fewer in the last group) and where they read.
struct GatherGroup {
    int x;          // first destination pixel
    int pixels;     // destination pixels in the group, 1..16
    int window;     // first source byte the group reads
    int windowSize; // source bytes it reads, at most 128
    bool whole;     // whether 128 bytes from `window` lie inside the row
    // For destination byte i (i < 3 * pixels): its source byte, from `window`.
    std::uint8_t index[64];
};

// The groups of the destination pixels first..last, whose source columns are
// columns[first..last] (all of them inside a source row of `sourceWidth`
// pixels). False when a group would read more than 128 source bytes (a
// shrink by more than 2.6).
bool planGather(const std::int64_t* columns, int first, int last, int sourceWidth, std::vector<GatherGroup>& groups);

// Whether this processor can run gatherRow().
bool gatherAvailable();

// One destination row: out + 3 * x for each group's pixels from `in`, the
// pixels of a source row (blue, green, red). Reads and writes only the
// bytes the groups name.
void gatherRow(const std::vector<GatherGroup>& groups, const std::uint8_t* in, std::uint8_t* out);

} // namespace px::stretch
