#pragma once
// "Spray": while a button is held, bursts of ten dots fall at random around
// the pointer, inside a square of the options' diameter or a disc of radius
// diameter / sqrt(5). The bursts come from the main window's timer ticks, at
// kBurstsPerSecond whatever the rate of the ticks: each tick paints the
// bursts that the time elapsed since the press calls for, so a slow timer
// paints several bursts at once and a fast one none at some ticks. The dots
// use the program's shared random generator, two draws per dot (x, then y),
// and never reseed it.
//
// The spray's state belongs to the whole program: a press in one image
// window sprays into whichever window is active at each tick.
#include "tools/Tool.h"

#include <chrono>
#include <functional>

namespace px {

class SprayTool : public Tool {
public:
    // The rate of the bursts: the tick rate of the desktop's timers that the
    // spray was designed on.
    static constexpr int kBurstsPerSecond = 64;
    static constexpr int kDotsPerBurst = 10;
    // Bursts painted by one tick at most (after a stall).
    static constexpr int kMaxBurstsPerTick = kBurstsPerSecond;

    using Clock = std::function<std::chrono::nanoseconds()>;
    SprayTool();
    // Tests give the spray their own clock.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    bool active() const { return active_; }

    Damage press(const ToolEvent& event, const ToolContext& context) override;
    Damage move(const ToolEvent& event, const ToolContext& context) override;
    Damage release(const ToolEvent& event, const ToolContext& context) override;
    Damage timerTick(const ToolContext& context) override;

    // One burst of dots at `at` with diameter d ("Carré" or "Rond").
    static Damage burst(const ToolContext& context, Point at, int d, Colour colour);

private:
    Clock clock_;
    bool active_ = false; // SprayActive
    Point point_;         // SprayPoint
    Colour colour_ = kBlack;
    std::chrono::nanoseconds pressTime_{0};
    long long bursts_ = 0;  // painted since the press
    bool reported_ = false; // the diameter's error was shown for this press
};

} // namespace px
