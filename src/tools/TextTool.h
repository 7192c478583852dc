#pragma once
// "Texte": a left press shows the text of the text window floating at the
// press point (imText: the glyphs only, the background is transparent); the
// text then stays centred on the pointer and the next left click on it
// writes it into the picture in the main colour, without a background box.
// The floating text catches those moves and clicks whatever tool is
// selected.
#include "tools/Tool.h"

namespace px {

// PrepareTextImage: the floating text's picture, as wide and high as the text
// in the options' font, filled with white (black when the main colour is
// white), the text written on it at (0, 0) in the main colour. Empty for an
// empty text or without a glyph rasteriser.
Bitmap prepareTextImage(const ToolContext& context);

class TextTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
};

// True when the floating text is shown and the event's point lies on it.
bool floatingTextCatches(const ToolState& state, const ToolEvent& event);
// While the text is placed, a move centres it on the pointer.
Damage floatingTextMove(const ToolEvent& event, const ToolContext& context);
// A left press on the floating text writes it into the picture.
Damage floatingTextPress(const ToolEvent& event, const ToolContext& context);

} // namespace px
