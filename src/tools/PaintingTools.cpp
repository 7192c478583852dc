#include "tools/PaintingTools.h"

#include "tools/ToolOptions.h"

namespace px {

namespace {

int eraserWidth(EraserShape shape)
{
    return shape == EraserShape::Round ? 10 : 5;
}

} // namespace

// The eraser is a wide round pen in the press colour: the left button paints
// the main colour, not the background colour. The dot of the press is drawn
// in copy mode too, so that it does not invert the picture when another tool
// left the canvas in NOT-XOR.
Damage EraserTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    Damage changed;
    for (const ToolEvent::Button button : event.drawingButtons()) {
        const Colour colour = context.colourOf(button);
        context.host.saveUndoState();
        canvas.setPenColour(colour);
        canvas.setBrushColour(colour);
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setPenWidth(eraserWidth(context.options.eraser));
        canvas.setPenMode(MixMode::Copy);
        canvas.moveTo(event.x, event.y);
        canvas.lineTo(event.x, event.y);
        changed.add(canvas.lastDamage());
    }
    return changed;
}

// The pen keeps the colour and width of the press; with both buttons down the
// second segment has no length.
Damage EraserTool::move(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    Damage changed;
    for ([[maybe_unused]] const ToolEvent::Button button : event.drawingButtons()) {
        canvas.lineTo(event.x, event.y);
        changed.add(canvas.lastDamage());
        canvas.setPenMode(MixMode::Copy);
    }
    return changed;
}

// The brush is made solid: a figure tool may have left it hollow, and a
// hollow brush fills nothing.
Damage FillTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    Damage changed;
    for (const ToolEvent::Button button : event.drawingButtons()) {
        const Colour colour = context.colourOf(button);
        context.host.saveUndoState();
        canvas.setBrushColour(colour);
        canvas.setBrushHollow(false);
        if (context.options.fillMode == FloodFillMode::Border)
            canvas.floodFill(event.x, event.y, colour, FloodFillMode::Border);
        else
            canvas.floodFill(event.x, event.y, canvas.pixel(event.x, event.y), FloodFillMode::Surface);
        changed.add(canvas.lastDamage());
    }
    return changed;
}

// The picked colours also become the canvas's pen and brush colours.
Damage ColourPickerTool::press(const ToolEvent& event, const ToolContext& context)
{
    const Colour picked = context.document.pixel(event.x, event.y);
    Colour main = context.mainColour, background = context.backgroundColour;
    if (event.holds(ToolEvent::Left)) {
        main = picked;
        context.host.setMainColour(picked);
    }
    if (event.holds(ToolEvent::Right)) {
        background = picked;
        context.host.setBackgroundColour(picked);
    }
    context.canvas.setPenColour(main);
    context.canvas.setBrushColour(background);
    return {};
}

// The read-out follows the pointer over the picture, button down or not.
Damage ColourPickerTool::move(const ToolEvent& event, const ToolContext& context)
{
    if (context.document.contains(event.x, event.y))
        context.host.showColourReadOut(context.document.pixel(event.x, event.y));
    return {};
}

// Any button stamps, the middle one too.
Damage StampTool::press(const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    state.strokeActive = true;
    context.host.saveUndoState();
    state.startPoint = state.endPoint = {event.x, event.y};
    if (context.options.stamp.isEmpty())
        return {};
    context.canvas.draw(event.x, event.y, context.options.stamp);
    return context.canvas.lastDamage();
}

Damage StampTool::move(const ToolEvent& event, const ToolContext& context)
{
    if (!context.state.strokeActive || context.options.stamp.isEmpty())
        return {};
    context.canvas.draw(event.x, event.y, context.options.stamp);
    return context.canvas.lastDamage();
}

Damage StampTool::release(const ToolEvent&, const ToolContext& context)
{
    context.state.strokeActive = false;
    return {};
}

// Dots of the 15 colours other than white, placed along two interleaved
// diagonals so that every row and column holds a few.
Bitmap defaultStampPicture()
{
    constexpr int kSide = 20;
    constexpr int kWhiteIndex = 15;
    Bitmap stamp(kSide, kSide, 4);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            stamp.setPixelIndex(x, y, kWhiteIndex);
    for (int y = 0; y < kSide; ++y)
        for (int x = (y * 7) % 5; x < kSide; x += 5)
            stamp.setPixelIndex(x, y, (x * 3 + y * 5) % 15);
    return stamp;
}

} // namespace px
