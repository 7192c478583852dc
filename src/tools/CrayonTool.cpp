#include "tools/CrayonTool.h"

#include "tools/ToolOptions.h"

namespace px {

// Each button held at the press runs its own set-up, left first, so with both
// down the right button's colour wins. A middle-button press does nothing.
Damage CrayonTool::press(const ToolEvent& event, const ToolContext& context)
{
    Canvas& canvas = context.canvas;
    Damage changed;
    for (const ToolEvent::Button button : event.drawingButtons()) {
        const Colour colour = context.colourOf(button);
        context.host.saveUndoState();
        context.state.strokeActive = true;
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setPenWidth(context.options.crayonWidth);
        canvas.setPenColour(colour);
        // The stroke is drawn in copy mode even when another tool left the
        // canvas inverting (the star's NOT-XOR rays).
        canvas.setPenMode(MixMode::Copy);
        if (canvas.penWidth() == 1) {
            // A one-pixel line of no length draws nothing: the dot is set.
            changed.add(canvas.setPixel(event.x, event.y, colour));
            canvas.moveTo(event.x, event.y);
        } else {
            canvas.moveTo(event.x, event.y);
            canvas.lineTo(event.x, event.y);
            changed.add(canvas.lastDamage());
        }
    }
    return changed;
}

Damage CrayonTool::move(const ToolEvent& event, const ToolContext& context)
{
    if (!context.state.strokeActive)
        return {};
    context.canvas.lineTo(event.x, event.y);
    return context.canvas.lastDamage();
}

Damage CrayonTool::release(const ToolEvent&, const ToolContext& context)
{
    context.state.strokeActive = false;
    return {};
}

} // namespace px
