// Indexeffets1Click: the effects index on the active image. OK runs the
// chosen entry's menu command exactly as its menu item does (its own frame,
// undo snapshot and values, on the full-size document), then refreshes the
// image's views, also when no entry is chosen. Annuler and the close box
// change nothing: no command, no snapshot, no refresh.
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "document/ImageWindow.h"
#include "effects/browser/EffectsIndex.h"
#include "effects/browser/EffectsIndexDialog.h"
#include "effects/dialogs/AdjustmentDialog.h"

#include <QPointer>

namespace px {

namespace {

void openEffectsIndex(MainWindow& window)
{
    QPointer<ImageWindow> image = window.activeImageWindow();
    auto* index = qobject_cast<EffectsIndexDialog*>(window.dialog("TForm46"));
    if (!image || !index)
        return;
    index->load(image->document(), effectContextFor(window.session(), *image));
    const int result = window.runModal(*index);
    index->finish();
    if (result != QDialog::Accepted)
        return;
    index->destination()->setStretch(false);
    const int entry = index->selectedEntry();
    if (entry >= 0 && entry < int(effectsIndexEntries().size()))
        window.commands().run(effectsIndexEntries()[std::size_t(entry)].command);
    if (image)
        refreshAfterEdit(*image);
}

} // namespace

QDialog* createEffectsIndex(MainWindow& owner)
{
    return new EffectsIndexDialog(owner.effects(), owner.session().prompter, &owner);
}

void registerEffectsIndexCommand(MainWindow& window)
{
    window.commands().setHandler("Indexeffets1", [&window] { openEffectsIndex(window); });
}

} // namespace px
