#pragma once
// Where the program's reused dialogs appear: centred over the main window,
// at the same place at every showing. Left to themselves, Qt's dialogs are
// centred by their frame only once the window manager has framed them, so
// the first showing lands higher and more to the left than the next ones.
class QDialog;
class QWidget;

namespace px {

// Places the dialog's client area centred over `owner`'s, within the
// screen's available area; its size is the one it will show with.
void centreOver(QDialog& dialog, const QWidget& owner);

// centreOver, then the dialog modally; returns its result.
int execCentred(QDialog& dialog, const QWidget& owner);

} // namespace px
