#pragma once
// Builds the menu bar from the command table: one QMenu per submenu row and
// one QAction per item, each named after its row, with its caption,
// shortcut, hint (status tip) and start state. Triggering an action runs the
// row's handler through the table, so a handler attached later takes effect
// at once.
#include "app/CommandTable.h"

#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace px {

using ActionMap = std::map<std::string, QAction*, std::less<>>;
using MenuMap = std::map<std::string, QMenu*, std::less<>>;

// Fills `bar`; every created object is named and recorded in the maps (a
// submenu's QMenu goes to `menus`, its menu action to `actions`).
void buildMenuBar(const CommandTable& table, QMenuBar* bar, ActionMap& actions, MenuMap& menus);

// A shortcut shared by several rows (Ctrl+R: "&Rétablir l'annulation" and
// "&Capturer") would be ambiguous to Qt and run neither. The rows keep
// showing it, and one window shortcut runs the first of them, in menu order,
// that is visible and enabled.
void connectSharedShortcuts(const CommandTable& table, const ActionMap& actions, QWidget* window);

} // namespace px
