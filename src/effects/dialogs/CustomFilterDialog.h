#pragma once
// TForm27, "Créer son filtre...": a 3 x 3 kernel and a divisor typed into ten
// fields, with the previews of the adjustment dialogs. The destination is
// recomputed whenever a field changes to a text that can be a number (not
// empty, not a lone "-").
#include "effects/dialogs/AdjustmentDialog.h"

#include <array>

class QLineEdit;

namespace px {

class CustomFilterDialog : public PreviewDialog {
    Q_OBJECT
public:
    // `command` is the row of the user-defined filter: nine weights and the
    // divisor as its values.
    CustomFilterDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    // e1..e9 (K0..K8 in reading order), then ediv.
    QLineEdit* field(int index) const { return fields_.at(std::size_t(index)); }

    // The ten values as decimal integers, or nothing with `error` naming the
    // first field that does not hold one.
    std::optional<std::vector<int>> readValues(std::string& error) const;
    // The ten values; a field that holds no whole number raises EffectError.
    std::vector<int> acceptedValues() const override;

protected:
    std::optional<std::vector<int>> previewValues(std::string& error) const override;

private:
    void fieldEdited(const QString& text);

    std::array<QLineEdit*, 10> fields_{};
};

} // namespace px
