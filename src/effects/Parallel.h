#pragma once
// Splits the rows of an image between threads. Only routines whose result
// does not depend on the order in which pixels are visited may use it: each
// band must be computable from data that no other band writes.
#include <functional>
#include <vector>

namespace px {

// The number of threads effects use: the machine's cores, at most 2, and no
// more than a ScopedEffectThreads of the calling thread allows.
int effectThreadCount();

// While it lives, effects started on this thread use at most `threads`
// threads (0 sets no limit): a batch run that already gives each core a file
// of its own runs each effect on one. Results do not depend on it.
class ScopedEffectThreads {
public:
    explicit ScopedEffectThreads(int threads);
    ~ScopedEffectThreads();
    ScopedEffectThreads(const ScopedEffectThreads&) = delete;
    ScopedEffectThreads& operator=(const ScopedEffectThreads&) = delete;

private:
    int previous_;
};

// Band boundaries for `threads` contiguous bands covering 0..height-1:
// band b is rows starts[b]..starts[b+1]-1. Small images get fewer bands, so
// that no band has under `minRowsPerBand` rows (at least one band).
std::vector<int> rowBandStarts(int height, int threads, int minRowsPerBand = 16);

// Calls body(band, firstRow, endRow) for every band, each on its own thread
// except the first, which runs on the caller's thread; returns when all are
// done. An exception from a band is rethrown after every band has finished.
void forEachRowBand(const std::vector<int>& starts, const std::function<void(int band, int first, int end)>& body);

// Both steps at once, for routines that need nothing per band.
void forEachRowBand(int height, int threads, const std::function<void(int first, int end)>& body,
                    int minRowsPerBand = 16);

} // namespace px
