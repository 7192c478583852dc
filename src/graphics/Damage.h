#pragma once
// The pixels a drawing changed, as a short list of rectangles, so that a view
// repaints those and not their bounding box: the outline of a large
// rectangle is four thin bands, not the whole area it encloses.
//
// Rectangles are merged as they arrive when the merged rectangle stays at
// least half covered by what was really changed (or wastes only a few
// pixels), so a run of spans on neighbouring rows becomes one rectangle while
// distant parts of a figure stay apart. The list never grows beyond a bound:
// past it everything collapses into the bounding rectangle.
#include "graphics/CanvasTypes.h"

#include <cstdint>
#include <vector>

namespace px {

class Damage {
public:
    Damage() = default;
    // One rectangle (nothing for an empty one).
    Damage(const Rect& rect) { add(rect); }

    void add(const Rect& rect);
    void add(const Damage& other);
    void clear() { parts_.clear(); }

    bool isEmpty() const { return parts_.empty(); }
    // The rectangles; they may overlap.
    std::vector<Rect> rects() const;
    // The bounding rectangle of them all.
    Rect bounds() const;
    // Their total area (overlaps counted twice).
    std::int64_t area() const;

    // Merged rectangles kept before everything collapses into one.
    static constexpr std::size_t kMaxRects = 2048;

private:
    struct Part {
        Rect rect;
        std::int64_t covered; // pixels really changed inside, as added
    };
    std::vector<Part> parts_;
};

} // namespace px
