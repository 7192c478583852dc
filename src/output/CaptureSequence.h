#pragma once
// "&Capturer": the program steps aside (minimised), waits for the chosen
// trigger — the next right mouse click, the next press of a function key, or
// a delay — copies the whole screen into a new "Image" window and comes
// back. Where the desktop lets no program watch the mouse and keys of the
// others (Wayland), the click and key triggers fall back to the delay, and
// the user is told so first.
#include "platform/ScreenCapture.h"

#include <string>

namespace px {

// The options of the "Setup..." window.
struct CaptureOptions {
    enum class Mode { RightButton, FunctionKey, Delay };
    Mode mode = Mode::RightButton;
    int functionKey = 1;  // 1..12
    int delaySeconds = 1; // at least 1
};

// What the capture needs of the program around it.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    virtual void minimise() = 0;
    // Restores the program's main window and cascades the image windows.
    virtual void restore() = 0;
    // Handles the program's events for about `milliseconds`; false once the
    // program is quitting.
    virtual bool wait(int milliseconds) = 0;
    // A new "Image" window holding the bitmap.
    virtual void showCapture(Bitmap bitmap) = 0;
    virtual void message(const std::string& text) = 0;
};

// How often the trigger is read while waiting.
inline constexpr int kTriggerPollMilliseconds = 10;

// The message before a trigger falls back to the delay.
std::string captureFallbackMessage(int delaySeconds);
// The message when the desktop refuses to give its picture.
inline constexpr const char* kScreenUnreadable = "Impossible de lire l'image de l'écran sur ce bureau.";

// Runs one capture. True when a window was made; false when the program
// quit while waiting or the screen could not be read.
bool runCapture(const CaptureOptions& options, CaptureHost& host, ScreenGrabber& screen, TriggerPoller& poller);

} // namespace px
