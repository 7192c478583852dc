#pragma once
// The dialogs that the main window creates once at start, in this order, and
// keeps until the program ends. The dialog of an effect row has no factory
// here: the main window builds it from the row that names its form (after
// the listed ones when the list does not name it). Any other dialog whose
// feature is not written yet has no factory either; its feature fills the
// entry in, keeping the order.
#include <span>

class QDialog;

namespace px {

class MainWindow;

struct StartupDialog {
    const char* objectName;
    const char* caption;
    QDialog* (*create)(MainWindow& owner); // null: an effect row's dialog, or not written yet
};

std::span<const StartupDialog> startupDialogs();

} // namespace px
