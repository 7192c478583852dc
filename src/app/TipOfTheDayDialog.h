#pragma once
// TForm6, "Astuce du jour...": one tip from astuces.txt (one tip per line,
// beside the executable), the next one on "&Autre", and the check box that
// says whether the tip comes at start. "&Fermer" writes that choice to the
// settings file; the close box writes nothing.
#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace px {

class SettingsFile;
struct Session;

class TipOfTheDayDialog : public QDialog {
    Q_OBJECT
public:
    // Loads the tips and seeds the shared generator from the clock. A tips
    // file that cannot be read is reported and leaves the list empty.
    TipOfTheDayDialog(Session& session, SettingsFile& settings, const QString& tipsFile, QWidget* parent = nullptr);

    const QStringList& tips() const { return tips_; }
    int tipIndex() const { return tipIndex_; }
    QString shownTip() const;

    bool showAtStartup() const;
    void setShowAtStartup(bool show);

    // Each showing: a tip drawn at random.
    void chooseRandomTip();
    // "&Autre": the following tip, wrapping round.
    void nextTip();
    // "&Fermer": writes Astuces/Demarrage, then closes. A refused write is
    // reported and the window stays open.
    void closeButtonClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showTip();

    Session& session_;
    SettingsFile& settings_;
    QStringList tips_;
    int tipIndex_ = 1;
    QPlainTextEdit* memo_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
};

} // namespace px
