#pragma once
// Small value types of the drawing layer: points, rectangles and the modes of
// the canvas state.
#include "graphics/Colour.h"

#include <algorithm>

namespace px {

// Pixels x0 .. x1-1 of a row and the colour they take (fillRowRuns()).
struct ColourRun {
    int x0;
    int x1;
    Colour colour;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A rectangle of pixels, left and top inclusive, right and bottom exclusive.
// Drawing calls return the rectangle they changed in this form (normalised and
// clipped to the bitmap); an empty rectangle means nothing changed.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Rect&) const = default;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect intersected(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }
    // Bounding rectangle of both; an empty rectangle does not count.
    Rect united(const Rect& o) const
    {
        if (isEmpty())
            return o;
        if (o.isEmpty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
};

// Pen styles. Styles apply to one-pixel pens only; a wider pen is solid.
enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot };

// How the pen and the brush combine with the pixels they cover:
// Copy sets them, Xor takes pixel XOR colour, NotXor takes NOT (pixel XOR
// colour). Xor and NotXor undo themselves when a figure is drawn twice.
enum class MixMode { Copy, Xor, NotXor };

// What copying a rectangle does to the destination: SrcCopy copies the
// source, Whiteness and Blackness fill, DstInvert inverts every byte,
// PatInvert XORs the pixels with the brush colour.
enum class CopyMode { SrcCopy, Whiteness, Blackness, DstInvert, PatInvert };

// Flood fill bounded by a border colour, or over the area of one colour.
enum class FloodFillMode { Border, Surface };

} // namespace px
