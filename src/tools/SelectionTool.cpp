#include "tools/SelectionTool.h"

#include "platform/Clipboard.h"
#include "tools/FigureTools.h"
#include "tools/ToolIds.h"

#include <algorithm>
#include <cstdlib>

namespace px {

namespace {

Rect normalised(const Rect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

// The pixels a one-pixel outline of the rectangle covers.
Damage outlineOf(const Rect& r, const Rect& clip)
{
    Damage d;
    if (r.isEmpty())
        return d;
    d.add(Rect{r.left, r.top, r.right, r.top + 1}.intersected(clip));
    d.add(Rect{r.left, r.bottom - 1, r.right, r.bottom}.intersected(clip));
    d.add(Rect{r.left, r.top, r.left + 1, r.bottom}.intersected(clip));
    d.add(Rect{r.right - 1, r.top, r.right, r.bottom}.intersected(clip));
    return d;
}

} // namespace

// No undo step: the picture comes back as it was at the release. The
// selection starts as the press point, so a click without a drag selects
// nothing.
Damage SelectionTool::press(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    Canvas& canvas = context.canvas;
    state.strokeActive = true;
    state.selectionBackup = context.document;
    state.selectionRect = {event.x, event.y, event.x, event.y};
    canvas.setPenWidth(1);
    canvas.setPenColour(kBlack);
    canvas.setPenStyle(PenStyle::Dash);
    canvas.setBrushHollow(true);
    canvas.moveTo(event.x, event.y);
    state.startPoint = state.endPoint = {event.x, event.y};
    return {};
}

Damage SelectionTool::move(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (state.whitePenPreview)
        context.canvas.setPenColour(kBlack);
    if (!state.strokeActive)
        return {};
    Damage changed = drawShape(kSelectionTool, context, state.startPoint, state.endPoint, MixMode::NotXor);
    state.endPoint = {event.x, event.y};
    changed.add(drawShape(kSelectionTool, context, state.startPoint, state.endPoint, MixMode::NotXor));
    return changed;
}

// The rectangle is the last rubber band's, not the release point's. It is
// copied upright whatever the direction of the drag (a rectangle given
// backwards would make the stretching copy mirror it), and only the part
// that lies on the picture: a selection that takes nothing of the picture
// leaves the clipboard as it is.
Damage SelectionTool::release(const ToolEvent&, const ToolContext& context)
{
    ToolState& state = context.state;
    if (!state.strokeActive)
        return {};
    state.strokeActive = false;
    Bitmap& picture = context.document;
    const Rect bounds{0, 0, picture.width(), picture.height()};
    const Rect selected = normalised(state.selectionRect);
    Damage changed = outlineOf(selected, bounds);
    picture = std::move(state.selectionBackup);
    state.selectionBackup = Bitmap();

    const Rect source = selected.intersected(bounds);
    if (source.isEmpty())
        return changed;
    Bitmap selection(source.width(), source.height(), 24);
    Canvas(selection).stretchCopy({0, 0, source.width(), source.height()}, picture, source);
    context.clipboard.setImage(selection);
    context.host.showMessage(kPlacedMessage);
    return changed;
}

} // namespace px
