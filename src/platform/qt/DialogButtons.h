#pragma once
// The OK and Annuler buttons every dialog of the program carries, with the
// component names tests find them by: Button1 (OK, the default button, ends
// the dialog with Accepted) and Button2 (ends it with Rejected).
#include <QString>

class QDialog;
class QPushButton;

namespace px {

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
};

// Creates both buttons as children of `dialog`. When `okAccepts` is false the
// caller connects OK itself (a dialog that validates or writes before closing).
DialogButtons makeDialogButtons(QDialog* dialog, const QString& okText = QStringLiteral("OK"),
                                const QString& cancelText = QStringLiteral("Annuler"), bool okAccepts = true);

} // namespace px
