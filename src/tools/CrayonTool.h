#pragma once
// "Crayon": free-hand drawing. A press puts a dot of the options' crayon
// width in the press colour, every move while the stroke lasts draws a solid
// line from the previous position to the pointer.
#include "tools/Tool.h"

namespace px {

class CrayonTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
};

} // namespace px
