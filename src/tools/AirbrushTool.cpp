#include "tools/AirbrushTool.h"

#include "tools/ToolOptions.h"

namespace px {

namespace {

using O = AirbrushOffset;

constexpr O kStyle1[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-2, 2}};
constexpr O kStyle2[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {2, 2}};
constexpr O kStyle3[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-2, 2}, {2, 2}, {-2, -2}, {2, -2}};
constexpr O kStyle4[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
constexpr O kStyle5[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}};
constexpr O kStyle6[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
constexpr O kStyle7[] = {{0, 0}, {1, -1}, {2, -2}, {3, -3}};
constexpr O kStyle8[] = {{0, 0}, {0, -1}, {0, -2}, {0, -3}, {0, -4}};
constexpr O kStyle9[] = {{0, 0}, {-1, 0}, {-2, 0}, {-3, 0}, {-4, 0}};

// The preview's own pixels where they are not the painted ones.
constexpr O kPreview5[] = {{0, 0}, {0, 2}, {0, -2}, {2, 0}, {-2, 0}, {-2, 2}};
constexpr O kPreview8[] = {{0, 0}, {0, -1}, {0, -2}, {0, -3}};
constexpr O kPreview9[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};

constexpr std::span<const O> kPatterns[] = {kStyle1, kStyle2, kStyle3, kStyle4, kStyle5,
                                            kStyle6, kStyle7, kStyle8, kStyle9};

Damage dab(const ToolContext& context, int x, int y, Colour colour)
{
    Damage changed;
    for (const AirbrushOffset& o : airbrushOffsets(context.options))
        changed.add(context.canvas.setPixel(x + o.dx, y + o.dy, colour));
    return changed;
}

} // namespace

std::span<const AirbrushOffset> airbrushPattern(int style)
{
    if (style < 1 || style > 9)
        return {};
    return kPatterns[style - 1];
}

std::span<const AirbrushOffset> airbrushPreview(int style)
{
    switch (style) {
    case 5:
        return kPreview5;
    case 8:
        return kPreview8;
    case 9:
        return kPreview9;
    default:
        return airbrushPattern(style);
    }
}

AirbrushOffset customAirbrushOffset(int cell)
{
    return {2 * (cell % 5) - 4, 2 * (cell / 5) - 4};
}

std::vector<AirbrushOffset> airbrushOffsets(const ToolOptions& options)
{
    if (options.airbrushStyle != ToolOptions::kCustomAirbrushStyle) {
        const auto pattern = airbrushPattern(options.airbrushStyle);
        return {pattern.begin(), pattern.end()};
    }
    std::vector<AirbrushOffset> offsets;
    for (int cell = 0; cell < int(options.airbrushCells.size()); ++cell)
        if (options.airbrushCells[std::size_t(cell)])
            offsets.push_back(customAirbrushOffset(cell));
    return offsets;
}

// Any button starts the stroke; the left and right buttons also dab.
Damage AirbrushTool::press(const ToolEvent& event, const ToolContext& context)
{
    context.state.strokeActive = true;
    Damage changed;
    for (const ToolEvent::Button button : event.drawingButtons()) {
        context.host.saveUndoState();
        context.canvas.setPenStyle(PenStyle::Solid);
        changed.add(dab(context, event.x, event.y, context.colourOf(button)));
    }
    return changed;
}

Damage AirbrushTool::move(const ToolEvent& event, const ToolContext& context)
{
    Damage changed;
    if (context.state.strokeActive)
        for (const ToolEvent::Button button : event.drawingButtons())
            changed.add(dab(context, event.x, event.y, context.colourOf(button)));
    context.canvas.setPenMode(MixMode::Copy);
    return changed;
}

Damage AirbrushTool::release(const ToolEvent&, const ToolContext& context)
{
    context.state.strokeActive = false;
    return {};
}

} // namespace px
