#pragma once
// The CurrentTool values: the number each button of the tool palette
// selects, one tool for the whole program. 1 and the values above 18 select
// no tool.

namespace px {

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

} // namespace px
