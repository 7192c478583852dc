#include "graphics/MagnifierGeometry.h"

#include "graphics/Canvas.h"

#include <algorithm>

namespace px {

namespace {

struct CrossOffsets {
    int from;   // both lines start at m + from along their own axis
    int hEnd;   // horizontal line ends (exclusive) at m + hEnd
    int vEnd;   // vertical line ends (exclusive) at m + vEnd
    int across; // the horizontal line lies at y = m + across, the vertical at x = m + across
};

constexpr CrossOffsets kCross[kMaxZoomStep] = {
    {-37, 37, 37, 0},  {-37, 37, 37, 1},  {-30, 40, 40, 6},  {-30, 45, 40, 7},
    {-37, 37, 37, -1}, {-30, 45, 45, 9}, {-30, 50, 50, 12},
};

} // namespace

int magnifierHalfSide(int magnifierWidth, int step)
{
    const int d = 4 * step;
    const int q = magnifierWidth / d;
    const int twiceRest = 2 * (magnifierWidth % d);
    if (twiceRest > d)
        return q + 1;
    if (twiceRest == d)
        return q + (q & 1);
    return q;
}

MagnifierStep magnifierStep(int magnifierWidth, int step)
{
    step = std::clamp(step, kMinZoomStep, kMaxZoomStep);
    MagnifierStep s{};
    s.halfSide = magnifierHalfSide(magnifierWidth, step);
    const int m = 2 * step * s.halfSide;
    s.crossCentre = m;
    const CrossOffsets& c = kCross[step - 1];
    s.horizontal = {m + c.from, m + c.across, m + c.hEnd, m + c.across};
    s.vertical = {m + c.across, m + c.from, m + c.across, m + c.vEnd};
    return s;
}

bool magnifierFollowsMouse(int screenX, int screenY, int windowWidth, int windowTop, int windowHeight)
{
    return screenX >= 0 && screenX <= windowWidth - 180 && screenY >= 0 && screenY <= windowTop + windowHeight + 80;
}

void clearMagnifier(Bitmap& magnifier)
{
    magnifier.fill(makeColour(0x80, 0x80, 0x80));
}

void drawCrossHair(Bitmap& magnifier, const MagnifierStep& step, Colour colour)
{
    Canvas canvas(magnifier);
    canvas.setPenColour(colour);
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenMode(MixMode::Copy);
    const MagnifierLine& h = step.horizontal;
    canvas.moveTo(h.x0, h.y0);
    canvas.lineTo(h.x1, h.y1);
    const MagnifierLine& v = step.vertical;
    canvas.moveTo(v.x0, v.y0);
    canvas.lineTo(v.x1, v.y1);
}

} // namespace px
