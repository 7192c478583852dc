#include "tools/ToolRegistry.h"

#include "tools/AirbrushTool.h"
#include "tools/CrayonTool.h"
#include "tools/FigureTools.h"
#include "tools/PaintingTools.h"
#include "tools/SelectionTool.h"
#include "tools/SprayTool.h"
#include "tools/TextTool.h"

namespace px {

ToolRegistry::ToolRegistry()
{
    for (const int id : {kLineTool, kRectangleTool, kRoundRectTool, kEllipseTool, kSquareTool, kCircleTool})
        set(id, std::make_unique<FigureTool>(id));
    set(kCrayonTool, std::make_unique<CrayonTool>());
    set(kEraserTool, std::make_unique<EraserTool>());
    set(kFillTool, std::make_unique<FillTool>());
    set(kColourPickerTool, std::make_unique<ColourPickerTool>());
    set(kAirbrushTool, std::make_unique<AirbrushTool>());
    set(kStarTool, std::make_unique<RayTool>(false));
    set(kSpiralTool, std::make_unique<RayTool>(true));
    set(kBlurRectTool, std::make_unique<BlurRectTool>());
    set(kStampTool, std::make_unique<StampTool>());
    set(kSelectionTool, std::make_unique<SelectionTool>());
    set(kTextTool, std::make_unique<TextTool>());
    set(kSprayTool, std::make_unique<SprayTool>());
}

Tool* ToolRegistry::find(int id) const
{
    auto it = tools_.find(id);
    return it == tools_.end() ? nullptr : it->second.get();
}

void ToolRegistry::set(int id, std::unique_ptr<Tool> tool)
{
    if (tool)
        tools_[id] = std::move(tool);
    else
        tools_.erase(id);
}

} // namespace px
