#include "output/X11TriggerPoller.h"

#include <X11/keysym.h>
#include <X11/Xlib.h>

namespace px {

X11TriggerPoller::X11TriggerPoller(bool x11Desktop) : x11Desktop_(x11Desktop) {}

X11TriggerPoller::~X11TriggerPoller()
{
    disarm();
}

bool X11TriggerPoller::available()
{
    if (!available_) {
        Display* display = x11Desktop_ ? XOpenDisplay(nullptr) : nullptr;
        available_ = display != nullptr;
        if (display)
            XCloseDisplay(display);
    }
    return *available_;
}

bool X11TriggerPoller::arm(const CaptureTrigger& trigger)
{
    disarm();
    if (!x11Desktop_)
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    display_ = display;
    trigger_ = trigger;
    keycode_ = 0;
    if (trigger.kind == CaptureTrigger::Kind::FunctionKey) {
        const int n = trigger.functionKey < 1 ? 1 : trigger.functionKey > 12 ? 12 : trigger.functionKey;
        keycode_ = XKeysymToKeycode(display, KeySym(XK_F1 + (n - 1)));
        if (keycode_ == 0) {
            disarm();
            return false;
        }
    }
    // The state now is the reference: a trigger held down already must be
    // released and pressed again.
    wasDown_ = isDown();
    return true;
}

bool X11TriggerPoller::isDown()
{
    auto* display = static_cast<Display*>(display_);
    if (trigger_.kind == CaptureTrigger::Kind::RightButton) {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
        return (mask & Button3Mask) != 0;
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return (keys[keycode_ / 8] & (1 << (keycode_ % 8))) != 0;
}

bool X11TriggerPoller::pressedSinceLastPoll()
{
    if (!display_)
        return false;
    const bool down = isDown();
    const bool pressed = down && !wasDown_;
    wasDown_ = down;
    return pressed;
}

void X11TriggerPoller::disarm()
{
    if (display_) {
        XCloseDisplay(static_cast<Display*>(display_));
        display_ = nullptr;
    }
}

} // namespace px
