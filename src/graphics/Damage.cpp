#include "graphics/Damage.h"

#include <algorithm>

namespace px {

namespace {

std::int64_t areaOf(const Rect& r)
{
    return r.isEmpty() ? 0 : std::int64_t(r.width()) * std::int64_t(r.height());
}

// Figures are drawn row by row, so the part to merge with is nearly always
// among the last few; looking further would make every pixel cost more.
constexpr std::size_t kLookBack = 8;
// A merge that wastes no more than this many pixels is always taken.
constexpr std::int64_t kSlack = 64;

} // namespace

void Damage::add(const Rect& rect)
{
    if (rect.isEmpty())
        return;
    const std::int64_t a = areaOf(rect);
    const std::size_t n = parts_.size();
    for (std::size_t k = 0; k < std::min(n, kLookBack); ++k) {
        Part& part = parts_[n - 1 - k];
        const Rect merged = part.rect.united(rect);
        const std::int64_t mergedArea = areaOf(merged);
        const std::int64_t covered = part.covered + a;
        if (mergedArea <= covered + kSlack || mergedArea <= 2 * covered) {
            part.rect = merged;
            part.covered = std::min(covered, mergedArea);
            return;
        }
    }
    if (parts_.size() >= kMaxRects) {
        const Rect all = bounds().united(rect);
        parts_.assign(1, Part{all, areaOf(all)});
        return;
    }
    parts_.push_back({rect, a});
}

void Damage::add(const Damage& other)
{
    for (const Part& part : other.parts_)
        add(part.rect);
}

std::vector<Rect> Damage::rects() const
{
    std::vector<Rect> out;
    out.reserve(parts_.size());
    for (const Part& part : parts_)
        out.push_back(part.rect);
    return out;
}

Rect Damage::bounds() const
{
    Rect r;
    for (const Part& part : parts_)
        r = r.united(part.rect);
    return r;
}

std::int64_t Damage::area() const
{
    std::int64_t total = 0;
    for (const Part& part : parts_)
        total += areaOf(part.rect);
    return total;
}

} // namespace px
