#pragma once
// What the screen capture needs of the desktop: a picture of the whole
// primary screen, and a watch on the mouse buttons and keys of the whole
// desktop (not only of the program's windows) to start the capture.
#include "graphics/Bitmap.h"

namespace px {

class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    // The primary screen as a 24-bit bitmap of its size in pixels; empty
    // when the desktop does not let programs read the screen.
    virtual Bitmap grabScreen() = 0;
};

// A capture trigger: the right mouse button or one of the function keys
// F1 to F12.
struct CaptureTrigger {
    enum class Kind { RightButton, FunctionKey };
    Kind kind = Kind::RightButton;
    int functionKey = 1; // 1..12 for FunctionKey
};

// Watches one trigger across the whole desktop by polling its state.
class TriggerPoller {
public:
    virtual ~TriggerPoller() = default;
    // False where the desktop lets no program watch the input of others
    // (a Wayland session, no X server).
    virtual bool available() = 0;
    // Starts watching `trigger`: a press counts only when the trigger goes
    // down after this call, so a button or key already held down when the
    // watch starts has to be released and pressed again. False when the
    // watch cannot start.
    virtual bool arm(const CaptureTrigger& trigger) = 0;
    // Reads the trigger's state once; true when it went down since the
    // last reading (or since arm()).
    virtual bool pressedSinceLastPoll() = 0;
    // Ends the watch.
    virtual void disarm() = 0;
};

} // namespace px
