#pragma once
// TForm20 "Texte...": the line the text tool writes and its font. What is
// typed is copied into the preview RichEdit1, which shows it in the chosen
// font and the main colour on the chosen background; the text and the font
// go into the session's tool options at once.
#include "document/Session.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace px {

class TextDialog : public QDialog {
    Q_OBJECT
public:
    explicit TextDialog(Session& session, QWidget* parent = nullptr);

    // FormActivate: the preview takes the main colour.
    void activate();
    // Button3 "&Police ...": the font dialog; a chosen font becomes the
    // preview's; in every case the preview's colour is the main colour.
    void chooseFont();

    QString previewText() const;
    // The preview's background colour.
    QColor previewBackground() const;

signals:
    // "&Annuler" was pressed (before the dialog closes).
    void cancelPressed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updatePreview();

    Session& session_;
    QLineEdit* edit_ = nullptr;
    QLabel* preview_ = nullptr;
    QComboBox* background_ = nullptr;
};

} // namespace px
