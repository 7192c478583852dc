#include "tools/FloatingPaste.h"

#include <algorithm>

namespace px {

namespace {

void drawFrame(Bitmap& picture)
{
    Canvas(picture).drawFocusRect(0, 0, picture.width(), picture.height());
}

} // namespace

// A previous picture still floating is replaced (it was never dropped).
Damage startFloatingPaste(ToolState& state, const Bitmap& picture)
{
    FloatingImage& f = state.floating;
    Damage changed;
    if (f.shown)
        changed.add(f.area());
    f.image = picture;
    if (!f.image.isEmpty() && f.image.bitsPerPixel() != 24)
        f.image.setPixelFormat(24);
    if (!f.image.isEmpty())
        drawFrame(f.image);
    f.topLeft = {0, 0};
    f.transparent.reset();
    f.shown = true;
    state.pasteGrip.reset();
    changed.add(f.area());
    return changed;
}

bool floatingPasteCatches(const ToolState& state, const ToolEvent& event)
{
    return state.floating.shown && state.floating.area().contains(event.x, event.y);
}

// Left: the drag starts, holding the picture where it was clicked. Right: the
// dotted frame is drawn again, which removes it, and the picture is copied
// into the document under it. The paste command took the undo snapshot.
Damage floatingPastePress(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    FloatingImage& f = state.floating;
    if (event.button == ToolEvent::Left) {
        state.pasteGrip = Point{event.x - f.topLeft.x, event.y - f.topLeft.y};
        return {};
    }
    if (event.button != ToolEvent::Right)
        return {};
    Damage changed(f.area());
    drawFrame(f.image);
    context.canvas.draw(f.topLeft.x, f.topLeft.y, f.image);
    changed.add(context.canvas.lastDamage());
    f.shown = false;
    f.image = Bitmap();
    state.pasteGrip.reset();
    return changed;
}

// The picture follows the pointer; at least one pixel of it stays over the
// document, so that it can always be caught again and dropped.
Damage floatingPasteMove(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    FloatingImage& f = state.floating;
    if (!state.pasteGrip || !f.shown)
        return {};
    const int w = f.image.width(), h = f.image.height();
    const int W = context.document.width(), H = context.document.height();
    const Point wanted{event.x - state.pasteGrip->x, event.y - state.pasteGrip->y};
    const Point placed{std::clamp(wanted.x, 1 - w, std::max(W - 1, 1 - w)),
                       std::clamp(wanted.y, 1 - h, std::max(H - 1, 1 - h))};
    if (placed == f.topLeft)
        return {};
    Damage changed(f.area());
    f.topLeft = placed;
    changed.add(f.area());
    return changed;
}

Damage floatingPasteRelease(const ToolEvent&, const ToolContext& context)
{
    context.state.pasteGrip.reset();
    return {};
}

} // namespace px
