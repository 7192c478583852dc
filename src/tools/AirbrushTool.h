#pragma once
// "Aérographe": every mouse event stamps the pixels of the chosen style's
// pattern around the pointer in the press colour. There is no randomness and
// no density: the faster the mouse, the sparser the dabs.
#include "tools/Tool.h"

#include <span>
#include <vector>

namespace px {

struct ToolOptions;

struct AirbrushOffset {
    int dx;
    int dy;
    bool operator==(const AirbrushOffset&) const = default;
};

// The pixels a dab of "Style 1".."Style 9" paints (style 1..9); empty for any
// other style.
std::span<const AirbrushOffset> airbrushPattern(int style);
// The pixels the options window's preview shows for that style, around its
// centre. They differ from the painted ones for "Style 5", "Style 8" and
// "Style 9", as the window always showed them.
std::span<const AirbrushOffset> airbrushPreview(int style);
// The offset a cell of the "Personnalisé" grid paints: cell k (0..24) is row
// k / 5, column k % 5, offset (2 column - 4, 2 row - 4).
AirbrushOffset customAirbrushOffset(int cell);
// The offsets of the current options: the style's pattern, or the checked
// cells of the grid for "Personnalisé".
std::vector<AirbrushOffset> airbrushOffsets(const ToolOptions& options);

class AirbrushTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
};

} // namespace px
