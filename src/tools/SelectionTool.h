#pragma once
// "Sélection": a dashed NOT-XOR rubber band; the release puts the dragged
// rectangle of the picture on the clipboard and leaves the picture as it was.
#include "tools/Tool.h"

namespace px {

class SelectionTool : public Tool {
public:
    // The status text once the selection is on the clipboard.
    static constexpr const char* kPlacedMessage = "La sélection a été placée dans le presse-papier";

    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
};

} // namespace px
