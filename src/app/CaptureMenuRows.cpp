// "C&apture": screen capture.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr CommandRow kRows[] = {
    menu("", "Capture1", "C&apture"),
    item("Capture1", "Setup1", "&Setup...", "", "Options de la capture"),
    // Ctrl+R is also the shortcut of "&Rétablir l'annulation"; the main
    // window gives a shared shortcut to the first usable item in menu order.
    item("Capture1", "Capturer1", "&Capturer", "Ctrl+R", "Capturer un écran"),
};
} // namespace

std::span<const CommandRow> captureMenuRows() { return kRows; }

} // namespace px
