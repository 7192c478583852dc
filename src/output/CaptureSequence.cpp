#include "output/CaptureSequence.h"

namespace px {

std::string captureFallbackMessage(int delaySeconds)
{
    return "Ce bureau ne permet pas de guetter la souris ni le clavier des autres programmes : l'écran sera "
           "capturé après le délai de " +
           std::to_string(delaySeconds) + (delaySeconds > 1 ? " secondes." : " seconde.");
}

namespace {
// Waits for the trigger; false when the program quits first.
bool waitForTrigger(CaptureHost& host, TriggerPoller& poller)
{
    for (;;) {
        if (!host.wait(kTriggerPollMilliseconds))
            return false;
        if (poller.pressedSinceLastPoll())
            return true;
    }
}
} // namespace

bool runCapture(const CaptureOptions& options, CaptureHost& host, ScreenGrabber& screen, TriggerPoller& poller)
{
    const int delay = options.delaySeconds < 1 ? 1 : options.delaySeconds;
    bool useTrigger = options.mode != CaptureOptions::Mode::Delay;
    if (useTrigger && !poller.available()) {
        host.message(captureFallbackMessage(delay));
        useTrigger = false;
    }

    host.minimise();
    bool fired;
    if (useTrigger) {
        CaptureTrigger trigger;
        if (options.mode == CaptureOptions::Mode::FunctionKey) {
            trigger.kind = CaptureTrigger::Kind::FunctionKey;
            trigger.functionKey = options.functionKey;
        }
        // The events of the minimising go first; then the trigger's state is
        // read once, so that a press made before now does not count.
        host.wait(0);
        if (poller.arm(trigger)) {
            fired = waitForTrigger(host, poller);
            poller.disarm();
        } else {
            host.message(captureFallbackMessage(delay));
            fired = host.wait(delay * 1000);
        }
    } else {
        fired = host.wait(delay * 1000);
    }

    bool made = false;
    if (fired) {
        Bitmap shot = screen.grabScreen();
        if (shot.isEmpty()) {
            host.restore();
            host.message(kScreenUnreadable);
            return false;
        }
        host.showCapture(std::move(shot));
        made = true;
    }
    host.restore();
    return made;
}

} // namespace px
