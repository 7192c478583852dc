#include "tools/SprayTool.h"

#include "graphics/Random.h"
#include "tools/ToolOptions.h"

#include <algorithm>

namespace px {

namespace {

constexpr std::chrono::nanoseconds kBurstPeriod{1'000'000'000 / SprayTool::kBurstsPerSecond};

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

SprayTool::SprayTool() : clock_(steadyNow) {}

// Any button starts the spray; the colour is the left button's, then the
// right button's when it is down (a middle-button press keeps the last one).
Damage SprayTool::press(const ToolEvent& event, const ToolContext& context)
{
    context.host.saveUndoState();
    context.canvas.setPenMode(MixMode::Copy);
    context.canvas.setPenStyle(PenStyle::Solid);
    if (event.holds(ToolEvent::Left))
        colour_ = context.mainColour;
    if (event.holds(ToolEvent::Right))
        colour_ = context.backgroundColour;
    active_ = true;
    point_ = {event.x, event.y};
    pressTime_ = clock_();
    bursts_ = 0;
    reported_ = false;
    return {};
}

Damage SprayTool::move(const ToolEvent& event, const ToolContext&)
{
    if (active_)
        point_ = {event.x, event.y};
    return {};
}

Damage SprayTool::release(const ToolEvent&, const ToolContext&)
{
    active_ = false;
    return {};
}

// The first tick after the press paints one burst, then one burst more for
// every period that has passed. A diameter that is not an integer paints
// nothing; it is reported once per press in the status bar, not at every
// tick.
Damage SprayTool::timerTick(const ToolContext& context)
{
    if (!active_)
        return {};
    const std::optional<int> diameter = context.options.sprayDiameter;
    if (!diameter) {
        if (!reported_)
            context.host.showMessage("Le diamètre du spray n'est pas un nombre entier : " +
                                     context.options.sprayDiameterText);
        reported_ = true;
        return {};
    }
    const long long due = (clock_() - pressTime_) / kBurstPeriod + 1;
    const long long count = std::min<long long>(due - bursts_, kMaxBurstsPerTick);
    bursts_ = std::max(bursts_, due);
    Damage changed;
    for (long long i = 0; i < count; ++i)
        changed.add(burst(context, point_, *diameter, colour_));
    return changed;
}

// Each dot draws dx then dy as Random(d) - d div 2. The disc test is
// dx^2 + dy^2 < d^2 / 5 in floating point, strictly: d = 0 paints nothing,
// d = 1 the centre only.
Damage SprayTool::burst(const ToolContext& context, Point at, int d, Colour colour)
{
    const int h = d / 2;
    const bool round = context.options.sprayShape == SprayShape::Round;
    const double limit = double(d) * double(d) / 5.0;
    Damage changed;
    for (int i = 0; i < kDotsPerBurst; ++i) {
        const int dx = context.random.random(d) - h;
        const int dy = context.random.random(d) - h;
        if (round && !(double(dx) * dx + double(dy) * dy < limit))
            continue;
        changed.add(context.canvas.setPixel(at.x + dx, at.y + dy, colour));
    }
    return changed;
}

} // namespace px
