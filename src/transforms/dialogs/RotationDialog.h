#pragma once
// TForm18, "Rotation...": the direction ("Droite", "Gauche"), the degrees
// ("&90", "&180", "&270", "&Libre") and the free angle typed into Edit1.
// Edit1 is greyed and empty unless "&Libre" is chosen; clicking it chooses
// "&Libre".
#include "effects/dialogs/EffectDialog.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace px {

class Prompter;

class RotationDialog : public EffectDialog {
    Q_OBJECT
public:
    RotationDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    void load(const Bitmap&, const EffectContext&) override {}
    // Direction, degrees and, for "&Libre", the angle; an angle that is not
    // a whole number raises EffectError.
    std::vector<int> acceptedValues() const override;
    void finish() override {}

    // 0 "Droite", 1 "Gauche".
    QRadioButton* directionButton(int index) const;
    // 0 "&90", 1 "&180", 2 "&270", 3 "&Libre".
    QRadioButton* degreesButton(int index) const;
    QLineEdit* angleEdit() const { return edit_; }
    // Whether Edit1 shows as greyed (the button face colour).
    bool angleGreyed() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void degreesChosen(int index);
    void setAngleGreyed(bool greyed);

    QButtonGroup* direction_ = nullptr;
    QButtonGroup* degrees_ = nullptr;
    QLineEdit* edit_ = nullptr;
    bool greyed_ = true;
};

} // namespace px
