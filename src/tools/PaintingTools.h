#pragma once
// The painting tools that need no timer and no clipboard: "Gomme" (a wide
// pen in the press colour), "Remplissage" (border or surface flood fill),
// "Colorimètre" (takes a drawing colour from the picture, shows the colour
// under the pointer) and "Tampon" (the stamp picture at its own size).
#include "tools/Tool.h"

namespace px {

class EraserTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
};

class FillTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
};

class ColourPickerTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
};

class StampTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
};

// The stamp picture the options window starts with: 20 x 20 pixels, 4 bits
// per pixel, coloured dots of the standard 16 colours scattered on white.
Bitmap defaultStampPicture();

} // namespace px
