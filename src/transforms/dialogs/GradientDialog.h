#pragma once
// TForm5, "Construire degrader...": the gradient style, its start and end
// colours and a preview of the style. The colours start as the main and
// background colours whenever the dialog opens; "&Principale..." and
// "&Fond..." change them for this opening. OK fills the whole image.
#include "effects/dialogs/EffectDialog.h"
#include "transforms/Gradients.h"

class QComboBox;

namespace px {

class Prompter;
class GradientPreview;

class GradientDialog : public EffectDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewWidth = 281;
    static constexpr int kPreviewHeight = 249;

    GradientDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    void load(const Bitmap& document, const EffectContext& context) override;
    // Style number, start colour, end colour.
    std::vector<int> acceptedValues() const override;
    void finish() override {}

    GradientStyle style() const;
    Colour startColour() const { return start_; }
    Colour endColour() const { return end_; }
    const Bitmap& preview() const;

private:
    void chooseColour(Colour& colour);
    void render();

    Prompter& prompter_;
    QComboBox* style_ = nullptr;
    GradientPreview* preview_ = nullptr;
    Colour start_ = kBlack;
    Colour end_ = kWhite;
};

} // namespace px
