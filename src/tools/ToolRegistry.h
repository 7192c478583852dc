#pragma once
// The tools of the program by their CurrentTool value, the number the tool
// palette's buttons select. A value without a tool (1, anything above 18)
// selects nothing: the image window then ignores the mouse.
#include "tools/Tool.h"
#include "tools/ToolIds.h"

#include <map>
#include <memory>

namespace px {

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
