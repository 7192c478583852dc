#include "effects/Parallel.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>

namespace px {

namespace {
thread_local int t_threadLimit = 0;
} // namespace

int effectThreadCount()
{
    const unsigned cores = std::thread::hardware_concurrency();
    const int machine = cores >= 2 ? 2 : 1;
    return t_threadLimit > 0 ? std::min(machine, t_threadLimit) : machine;
}

ScopedEffectThreads::ScopedEffectThreads(int threads) : previous_(t_threadLimit)
{
    if (threads > 0)
        t_threadLimit = threads;
}

ScopedEffectThreads::~ScopedEffectThreads()
{
    t_threadLimit = previous_;
}

std::vector<int> rowBandStarts(int height, int threads, int minRowsPerBand)
{
    const int bands = std::clamp(std::max(height, 0) / std::max(1, minRowsPerBand), 1, std::max(1, threads));
    std::vector<int> starts;
    for (int b = 0; b <= bands; ++b)
        starts.push_back(int(std::int64_t(std::max(height, 0)) * b / bands));
    return starts;
}

void forEachRowBand(const std::vector<int>& starts, const std::function<void(int, int, int)>& body)
{
    const int bands = int(starts.size()) - 1;
    if (bands <= 0)
        return;
    if (bands == 1) {
        body(0, starts[0], starts[1]);
        return;
    }
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(bands));
    const auto run = [&](int band) {
        try {
            body(band, starts[std::size_t(band)], starts[std::size_t(band) + 1]);
        } catch (...) {
            errors[std::size_t(band)] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    for (int band = 1; band < bands; ++band)
        workers.emplace_back(run, band);
    run(0);
    for (auto& w : workers)
        w.join();
    for (const auto& e : errors)
        if (e)
            std::rethrow_exception(e);
}

void forEachRowBand(int height, int threads, const std::function<void(int, int)>& body, int minRowsPerBand)
{
    if (height <= 0)
        return;
    forEachRowBand(rowBandStarts(height, threads, minRowsPerBand), [&](int, int first, int end) { body(first, end); });
}

} // namespace px
