#pragma once
// The image window's three mouse handlers and the timer tick, without
// widgets: each event goes to the floating text or the floating paste when
// it concerns them, otherwise to the tool of the current id. The handler
// that took a press also gets the moves and the release of that press.
#include "tools/Tool.h"

namespace px {

class ToolRegistry;

Damage dispatchPress(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context);
Damage dispatchMove(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context);
Damage dispatchRelease(const ToolRegistry& tools, int currentTool, const ToolEvent& event, const ToolContext& context);
Damage dispatchTimerTick(const ToolRegistry& tools, int currentTool, const ToolContext& context);

} // namespace px
