#pragma once
// The capture triggers watched on an X11 desktop: the pointer's buttons
// (XQueryPointer) and the keyboard (XQueryKeymap) read on a display
// connection of its own, so the program's toolkit connection and its event
// queue are not disturbed. An X server reports every client's input this
// way, which a Wayland compositor does not.
#include "platform/ScreenCapture.h"

#include <optional>

namespace px {

class X11TriggerPoller : public TriggerPoller {
public:
    // `x11Desktop`: the program runs on an X11 desktop (not through a
    // Wayland compositor's X11 compatibility server, which only shows the
    // input given to X11 programs).
    explicit X11TriggerPoller(bool x11Desktop);
    ~X11TriggerPoller() override;

    bool available() override;
    bool arm(const CaptureTrigger& trigger) override;
    bool pressedSinceLastPoll() override;
    void disarm() override;

private:
    bool isDown();

    bool x11Desktop_;
    std::optional<bool> available_;
    void* display_ = nullptr;
    CaptureTrigger trigger_;
    int keycode_ = 0;
    bool wasDown_ = false;
};

} // namespace px
