#include "tools/ToolRegistry.h"

#include "tools/CrayonTool.h"

namespace px {

ToolRegistry::ToolRegistry()
{
    set(kCrayonTool, std::make_unique<CrayonTool>());
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
