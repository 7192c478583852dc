#include "tools/TextTool.h"

#include "tools/ToolOptions.h"

namespace px {

namespace {

FontSpec textFont(const ToolContext& context)
{
    FontSpec font = context.options.font;
    font.colour = context.mainColour;
    return font;
}

Colour fillColourFor(Colour text)
{
    return (text & 0xFFFFFF) == kWhite ? kBlack : kWhite;
}

} // namespace

Bitmap prepareTextImage(const ToolContext& context)
{
    Bitmap image;
    Canvas measure(image, context.canvas.glyphRasteriser());
    measure.setFont(textFont(context));
    const Size size = measure.textExtent(context.options.text);
    if (size.width <= 0 || size.height <= 0 || !Bitmap::isAcceptableSize(size.width, size.height))
        return image;
    image = Bitmap(size.width, size.height, 24);
    image.fill(fillColourFor(context.mainColour));
    Canvas canvas(image, context.canvas.glyphRasteriser());
    canvas.setFont(textFont(context));
    canvas.setBrushHollow(true);
    canvas.textOut(0, 0, context.options.text);
    return image;
}

// Left button only. The undo snapshot covers the whole placing: the drop
// takes none. A text already floating is replaced by the new one.
Damage TextTool::press(const ToolEvent& event, const ToolContext& context)
{
    if (event.button != ToolEvent::Left)
        return {};
    ToolState& state = context.state;
    context.host.saveUndoState();
    state.strokeActive = true;
    Damage changed;
    if (state.text.shown)
        changed.add(state.text.area());
    state.text.image = prepareTextImage(context);
    // The fill is the colour left out when the floating text is shown.
    state.text.transparent = fillColourFor(context.mainColour);
    state.text.topLeft = {event.x, event.y};
    state.text.shown = true;
    state.textPlacing = true;
    changed.add(state.text.area());
    return changed;
}

bool floatingTextCatches(const ToolState& state, const ToolEvent& event)
{
    return state.textPlacing && state.text.shown && state.text.area().contains(event.x, event.y);
}

Damage floatingTextMove(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (!state.textPlacing || !state.strokeActive)
        return {};
    FloatingImage& text = state.text;
    const Point placed{event.x - text.image.width() / 2, event.y - text.image.height() / 2};
    if (placed == text.topLeft)
        return {};
    Damage changed(text.area());
    text.topLeft = placed;
    changed.add(text.area());
    return changed;
}

// The text is written where it floated, in the font and main colour of the
// moment of the drop, without a background box.
Damage floatingTextPress(const ToolEvent& event, const ToolContext& context)
{
    if (event.button != ToolEvent::Left)
        return {};
    ToolState& state = context.state;
    Canvas& canvas = context.canvas;
    state.strokeActive = false;
    canvas.setFont(textFont(context));
    Damage changed(state.text.area());
    state.text.shown = false;
    canvas.setBrushHollow(true);
    canvas.textOut(state.text.topLeft.x, state.text.topLeft.y, context.options.text);
    changed.add(canvas.lastDamage());
    state.textPlacing = false;
    state.text.image = Bitmap();
    return changed;
}

} // namespace px
