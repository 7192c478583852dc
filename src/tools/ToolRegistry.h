#pragma once
// The tools of the program by their CurrentTool value, the number the tool
// palette's buttons select. A value without a tool (1, anything above 18)
// selects nothing: the image window then ignores the mouse.
#include "tools/Tool.h"

#include <map>
#include <memory>

namespace px {

// CurrentTool values of the palette buttons.
enum ToolId : int {
    kLineTool = 0,
    kCrayonTool = 2,
    kEraserTool = 3,
    kFillTool = 4,
    kColourPickerTool = 5,
    kAirbrushTool = 6,
    kStarTool = 7,
    kSpiralTool = 8,
    kRectangleTool = 9,
    kRoundRectTool = 10,
    kEllipseTool = 11,
    kBlurRectTool = 12,
    kSquareTool = 13,
    kCircleTool = 14,
    kStampTool = 15,
    kSelectionTool = 16,
    kTextTool = 17,
    kSprayTool = 18,
};

class ToolRegistry {
public:
    // Every tool the program has.
    ToolRegistry();

    // The tool of that id, or null.
    Tool* find(int id) const;
    // Puts `tool` under `id`, replacing any tool there; null removes it.
    void set(int id, std::unique_ptr<Tool> tool);

private:
    std::map<int, std::unique_ptr<Tool>> tools_;
};

} // namespace px
