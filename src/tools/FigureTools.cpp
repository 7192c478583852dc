#include "tools/FigureTools.h"

#include "effects/Blur.h"
#include "tools/ToolIds.h"
#include "tools/ToolOptions.h"

#include <algorithm>

namespace px {

namespace {

// Pen width and style of a figure tool, and its fill page (none for "Ligne").
struct FigureSetup {
    int penWidth;
    PenStyle penStyle;
    const FigureOptions* fill;
};

FigureSetup setupOf(int toolId, const ToolOptions& o)
{
    const FigureOptions* page = nullptr;
    switch (toolId) {
    case kRectangleTool:
        page = &o.rectangle;
        break;
    case kRoundRectTool:
        page = &o.roundRect;
        break;
    case kEllipseTool:
        page = &o.ellipse;
        break;
    case kSquareTool:
        page = &o.square;
        break;
    case kCircleTool:
        page = &o.circle;
        break;
    default:
        return {o.lineWidth, o.lineStyle, nullptr};
    }
    return {page->penWidth, page->penStyle, page};
}

// The rectangle covered by a figure drawn from a to b (edges exclusive).
Rect boxOf(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Flou4 over the pixels of the rectangle figure from s to e. Flou4 takes its
// corners inclusive, the figure excludes its right and bottom edges: the
// blur gets the last column and row inside, so exactly the dragged area is
// blurred (and a figure of no width blurs nothing).
Damage blurInside(Bitmap& bitmap, Point s, Point e)
{
    const Rect box = boxOf(s, e);
    if (box.isEmpty())
        return {};
    Flou4(bitmap, box.left, box.top, box.right - 1, box.bottom - 1);
    // Flou4 never changes the outermost rows and columns.
    return box.intersected({1, 1, bitmap.width() - 1, bitmap.height() - 1});
}

} // namespace

Damage drawShape(int toolId, const ToolContext& context, Point s, Point e, MixMode mode)
{
    Canvas& canvas = context.canvas;
    canvas.setPenMode(mode);
    Damage changed;
    switch (toolId) {
    case kLineTool:
        canvas.moveTo(s.x, s.y);
        canvas.lineTo(e.x, e.y);
        break;
    case kRectangleTool:
        canvas.rectangle(s.x, s.y, e.x, e.y);
        break;
    case kRoundRectTool:
        canvas.roundRect(s.x, s.y, e.x, e.y, (s.x - e.x) / 2, (s.y - e.y) / 2);
        break;
    case kEllipseTool:
        canvas.ellipse(s.x, s.y, e.x, e.y);
        break;
    case kBlurRectTool:
        canvas.rectangle(s.x, s.y, e.x, e.y);
        changed.add(canvas.lastDamage());
        changed.add(blurInside(context.document, s, e));
        return changed;
    case kSquareTool:
    case kCircleTool: {
        const int side = std::min(e.x - s.x, e.y - s.y);
        if (toolId == kSquareTool)
            canvas.rectangle(s.x, s.y, s.x + side, s.y + side);
        else
            canvas.ellipse(s.x, s.y, s.x + side, s.y + side);
        break;
    }
    case kSelectionTool:
        canvas.rectangle(s.x, s.y, e.x, e.y);
        context.state.selectionRect = {s.x, s.y, e.x, e.y};
        break;
    default:
        return changed;
    }
    changed.add(canvas.lastDamage());
    return changed;
}

// Each button held runs its own set-up, left first, so that with both down
// the right button's colours win. A middle-button press starts nothing.
Damage FigureTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    ToolState& state = context.state;
    const FigureSetup setup = setupOf(id_, context.options);
    for (const ToolEvent::Button button : event.drawingButtons()) {
        const Colour colour = context.colourOf(button);
        const Colour other = button == ToolEvent::Left ? context.backgroundColour : context.mainColour;
        context.host.saveUndoState();
        state.strokeActive = true;
        canvas.setPenWidth(setup.penWidth);
        canvas.setPenStyle(setup.penStyle);
        canvas.setPenColour(colour);
        if ((colour & 0xFFFFFF) == kWhite)
            state.whitePenPreview = true;
        if (!setup.fill) {
            canvas.setBrushColour(other);
        } else {
            canvas.setBrushColour(setup.fill->bicolour ? other : colour);
            canvas.setBrushHollow(!setup.fill->solidFill);
        }
        canvas.moveTo(event.x, event.y);
        state.startPoint = state.endPoint = {event.x, event.y};
    }
    return {};
}

// The rubber band: the previous outline drawn again in NOT-XOR restores the
// pixels under it, then the new outline is drawn. A white figure's band is
// drawn black, which shows on a white picture.
Damage FigureTool::move(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (state.whitePenPreview)
        context.canvas.setPenColour(kBlack);
    if (!state.strokeActive)
        return {};
    Damage changed = drawShape(id_, context, state.startPoint, state.endPoint, MixMode::NotXor);
    state.endPoint = {event.x, event.y};
    changed.add(drawShape(id_, context, state.startPoint, state.endPoint, MixMode::NotXor));
    return changed;
}

// The final figure is drawn over the last outline, which it covers exactly
// when the pointer did not move between the last move and the release.
Damage FigureTool::release(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (state.whitePenPreview) {
        context.canvas.setPenColour(kWhite);
        state.whitePenPreview = false;
    }
    if (!state.strokeActive)
        return {};
    state.strokeActive = false;
    return drawShape(id_, context, state.startPoint, {event.x, event.y}, MixMode::Copy);
}

Damage RayTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    ToolState& state = context.state;
    for (const ToolEvent::Button button : event.drawingButtons()) {
        context.host.saveUndoState();
        state.strokeActive = true;
        canvas.setPenWidth(1);
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setPenColour(context.colourOf(button));
        canvas.moveTo(event.x, event.y);
        state.startPoint = state.endPoint = {event.x, event.y};
        canvas.setPenMode(MixMode::NotXor);
    }
    return {};
}

// The first move draws its ray in NOT-XOR (the press left that mode); every
// later move draws in COPY, first the ray to the previous point again, which
// turns the NOT-XOR ray into the pen colour, then the ray to the new point.
Damage RayTool::move(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    ToolState& state = context.state;
    Damage changed;
    if (state.strokeActive) {
        const Point s = state.startPoint, e = state.endPoint;
        canvas.moveTo(s.x, s.y);
        canvas.lineTo(e.x, e.y);
        changed.add(canvas.lastDamage());
        if (!spiral_)
            canvas.moveTo(s.x, s.y);
        canvas.lineTo(event.x, event.y);
        changed.add(canvas.lastDamage());
    }
    state.endPoint = {event.x, event.y};
    canvas.setPenMode(MixMode::Copy);
    return changed;
}

Damage RayTool::release(const ToolEvent&, const ToolContext& context)
{
    context.state.strokeActive = false;
    return {};
}

// Any button starts the blur, the middle one too.
Damage BlurRectTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    ToolState& state = context.state;
    context.host.saveUndoState();
    state.strokeActive = true;
    canvas.setPenColour(kBlack);
    canvas.setBrushHollow(true);
    canvas.moveTo(event.x, event.y);
    state.startPoint = state.endPoint = {event.x, event.y};
    return {};
}

// The outline is drawn with XOR of black, which changes no pixel: only the
// blur shows.
Damage BlurRectTool::move(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (!state.strokeActive)
        return {};
    Damage changed = drawShape(kBlurRectTool, context, state.startPoint, state.endPoint, MixMode::Xor);
    state.endPoint = {event.x, event.y};
    changed.add(drawShape(kBlurRectTool, context, state.startPoint, state.endPoint, MixMode::Xor));
    return changed;
}

Damage BlurRectTool::release(const ToolEvent&, const ToolContext& context)
{
    if (!context.state.strokeActive)
        return {};
    context.state.strokeActive = false;
    context.canvas.setPenColour(context.mainColour);
    return {};
}

} // namespace px
