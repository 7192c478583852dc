#include "app/EffectDialogs.h"

#include "effects/dialogs/AdjustmentDialog.h"
#include "effects/dialogs/CustomFilterDialog.h"
#include "transforms/dialogs/AddBorderDialog.h"
#include "transforms/dialogs/FrameDialogs.h"
#include "transforms/dialogs/GradientDialog.h"
#include "transforms/dialogs/ImageSizeDialog.h"
#include "transforms/dialogs/RotationDialog.h"

#include <string_view>

namespace px {

namespace {

using Factory = EffectDialog* (*)(const EffectCommand&, Prompter&, QWidget*);

template <class Dialog> EffectDialog* make(const EffectCommand& row, Prompter& prompter, QWidget* parent)
{
    return new Dialog(row, prompter, parent);
}

// The effect dialogs with a class of their own, by form name.
struct OwnDialog {
    std::string_view form;
    Factory create;
};
constexpr OwnDialog kOwnDialogs[] = {
    {"TForm5", make<GradientDialog>},        {"TForm12", make<SimpleFrameDialog>},
    {"TForm18", make<RotationDialog>},       {"TForm27", make<CustomFilterDialog>},
    {"TForm28", make<TwoColourFrameDialog>}, {"TForm30", make<StretchEdgesDialog>},
    {"TForm31", make<ResizeDialog>},         {"TForm32", make<AddBorderDialog>},
};

} // namespace

EffectDialog* createEffectDialog(const EffectCommand& row, Prompter& prompter, QWidget* parent)
{
    switch (row.binding) {
    case EffectBinding::TrackBars:
        return make<AdjustmentDialog>(row, prompter, parent);
    case EffectBinding::Dialog:
        for (const OwnDialog& own : kOwnDialogs)
            if (own.form == row.dialog)
                return own.create(row, prompter, parent);
        return nullptr;
    case EffectBinding::None:
    case EffectBinding::Colour:
        break;
    }
    return nullptr;
}

} // namespace px
