#pragma once
// The figure tools: "Ligne", "Rectangle", "Carré", "Ellipse", "Cercle" and
// "Rectangle arrondi" with their NOT-XOR rubber band, "Etoile" and
// "Spirale", which leave every ray they draw, and "Rectangle flou", which
// blurs the dragged rectangle again at every move.
#include "tools/Tool.h"

namespace px {

// DrawShape: sets the canvas's pen mode to `mode` and draws the figure of the
// tool `toolId` between the two points, corners as given (unnormalised):
// the line, rectangle, rounded rectangle (corner ellipse of half the signed
// differences), ellipse, square and circle (side: the smaller signed
// difference), the blur rectangle (then blurred inside) and the selection
// rectangle (then kept as the window's selection). Other ids draw nothing.
Damage drawShape(int toolId, const ToolContext& context, Point start, Point end, MixMode mode);

// "Ligne", "Rectangle", "Carré", "Ellipse", "Cercle", "Rectangle arrondi":
// the press sets pen and brush from the tool's page of the options and the
// press colour, moves draw the rubber band, the release the final figure.
class FigureTool : public Tool {
public:
    explicit FigureTool(int toolId) : id_(toolId) {}
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;

private:
    int id_;
};

// "Etoile" (a fan of rays from the press point) and "Spirale" (the fan and
// the path joining the pointer's positions). Both ignore the options.
class RayTool : public Tool {
public:
    explicit RayTool(bool spiral) : spiral_(spiral) {}
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;

private:
    bool spiral_;
};

// "Rectangle flou": every move blurs the previous rectangle and the new one
// once more, so the blur builds up while the user drags.
class BlurRectTool : public Tool {
public:
    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
};

} // namespace px
