#include "tools/ToolDispatch.h"

#include "tools/FloatingPaste.h"
#include "tools/TextTool.h"
#include "tools/ToolRegistry.h"

namespace px {

namespace {

// A press while another button of the same press is still down goes where
// the first one went; otherwise the floating text, then the pasted picture,
// catch the presses on themselves.
PressOwner ownerOfPress(const ToolState& state, const ToolEvent& event)
{
    const bool otherButtonDown = (event.buttons & ~unsigned(event.button)) != 0;
    if (otherButtonDown && state.pressOwner != PressOwner::None)
        return state.pressOwner;
    if (floatingTextCatches(state, event))
        return PressOwner::Text;
    if (floatingPasteCatches(state, event))
        return PressOwner::Paste;
    return PressOwner::Tool;
}

} // namespace

Damage dispatchPress(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    state.pressOwner = ownerOfPress(state, event);
    switch (state.pressOwner) {
    case PressOwner::Text:
        return floatingTextPress(event, context);
    case PressOwner::Paste:
        return floatingPastePress(event, context);
    default: {
        Tool* tool = tools.find(currentTool);
        return tool ? tool->press(event, context) : Damage{};
    }
    }
}

// A dragged paste follows the pointer; a text being placed follows it too
// and keeps the moves from the tool (the pointer is over the text).
Damage dispatchMove(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    if (state.pressOwner == PressOwner::Paste)
        return floatingPasteMove(event, context);
    if (state.textPlacing)
        return floatingTextMove(event, context);
    Tool* tool = tools.find(currentTool);
    return tool ? tool->move(event, context) : Damage{};
}

// The owner of the press is forgotten once every button is up. A release
// whose press nobody took (it was pressed elsewhere) goes to the tool.
Damage dispatchRelease(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context)
{
    ToolState& state = context.state;
    const PressOwner owner = state.pressOwner;
    if (event.buttons == ToolEvent::NoButton)
        state.pressOwner = PressOwner::None;
    switch (owner) {
    case PressOwner::Text:
        return {};
    case PressOwner::Paste:
        return floatingPasteRelease(event, context);
    default: {
        Tool* tool = tools.find(currentTool);
        return tool ? tool->release(event, context) : Damage{};
    }
    }
}

Damage dispatchTimerTick(const ToolRegistry& tools, int currentTool, const ToolContext& context)
{
    Tool* tool = tools.find(currentTool);
    return tool ? tool->timerTick(context) : Damage{};
}

} // namespace px
