#pragma once
// TForm32, "Ajouter une bordure...": the four margins (Edit1 "Haut", Edit2
// "Bas", Edit3 "Gauche", Edit4 "Droite", spin edits 0..5000 that take only
// digits and backspace) and "Lier". Checking "Lier" gives all four the
// largest value (the first of top, bottom, left, right on ties); while it is
// checked an arrow step on one margin steps the three others too.
#include "effects/dialogs/EffectDialog.h"

#include <array>

class QCheckBox;

namespace px {

class DigitSpinBox;
class Prompter;

class AddBorderDialog : public EffectDialog {
    Q_OBJECT
public:
    AddBorderDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    // 0 top, 1 bottom, 2 left, 3 right.
    DigitSpinBox* margin(int index) const { return margins_.at(std::size_t(index)); }
    QCheckBox* link() const { return link_; }

    void load(const Bitmap&, const EffectContext&) override {}
    // Top, bottom, left, right; an empty edit raises EffectError.
    std::vector<int> acceptedValues() const override;
    void finish() override {}

private:
    void linkToggled(bool checked);
    void stepped(DigitSpinBox* source, int steps);

    std::array<DigitSpinBox*, 4> margins_{};
    QCheckBox* link_ = nullptr;
    bool stepping_ = false;
};

} // namespace px
