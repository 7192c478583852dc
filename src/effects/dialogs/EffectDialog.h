#pragma once
// The dialog that gives an effect row its values. The effect commands run
// every such dialog the same way: load the active document, show the
// dialog, and on OK apply the row with the dialog's values inside the effect
// frame; finish() puts the dialog back at rest whatever the answer.
#include "effects/Effect.h"

#include <QDialog>

#include <vector>

namespace px {

class EffectDialog : public QDialog {
    Q_OBJECT
public:
    // The row whose values the dialog gives.
    const EffectCommand& command() const { return command_; }

    // Before the dialog shows: the document it previews and the colours.
    virtual void load(const Bitmap& document, const EffectContext& context) = 0;
    // After OK: true when OK has nothing to apply (then no undo step is
    // taken and the document stays as it is).
    virtual bool appliesNothing() const { return false; }
    // After OK, once the undo snapshot is taken: the values to apply.
    // Throws EffectError when a control holds no usable value.
    virtual std::vector<int> acceptedValues() const = 0;
    // The dialog's work is done (OK or not): back to its resting state.
    virtual void finish() = 0;

protected:
    EffectDialog(const EffectCommand& command, QWidget* parent) : QDialog(parent), command_(command) {}

private:
    const EffectCommand& command_;
};

} // namespace px
