#pragma once
// The dialogs that the main window creates once at start, in this order, and
// keeps until the program ends. A dialog whose feature is not written yet has
// no factory; its feature fills the entry in, keeping the order.
#include <span>

class QDialog;

namespace px {

class MainWindow;

struct StartupDialog {
    const char* objectName;
    const char* caption;
    QDialog* (*create)(MainWindow& owner); // null: not written yet
};

std::span<const StartupDialog> startupDialogs();

} // namespace px
