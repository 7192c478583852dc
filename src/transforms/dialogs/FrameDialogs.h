#pragma once
// TForm12 "Bordure simple..." and TForm28 "Bordure à deux couleurs...": the
// style of the frame's inside, the pen's thickness (Edit1, an edit with its
// up-down) and, for the two-colour frame, which colour goes top and left.
// Both keep their choices between openings.
#include "effects/dialogs/EffectDialog.h"

class QComboBox;
class QSpinBox;

namespace px {

class Prompter;

class SimpleFrameDialog : public EffectDialog {
    Q_OBJECT
public:
    SimpleFrameDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    void load(const Bitmap&, const EffectContext&) override {}
    // Style (0 "Solide", 1 "Transparent"), thickness.
    std::vector<int> acceptedValues() const override;
    void finish() override {}

private:
    QComboBox* style_ = nullptr;
    QSpinBox* thickness_ = nullptr;
};

class TwoColourFrameDialog : public EffectDialog {
    Q_OBJECT
public:
    TwoColourFrameDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    void load(const Bitmap&, const EffectContext&) override {}
    // Style (0 "Transparent", 1 "Solide"), thickness, colours (0
    // "Principale - fond", 1 "Fond - principale").
    std::vector<int> acceptedValues() const override;
    void finish() override {}

private:
    QComboBox* style_ = nullptr;
    QSpinBox* thickness_ = nullptr;
    QComboBox* colours_ = nullptr;
};

} // namespace px
