#pragma once
// The commands that change the active document: the effect frame with its
// dialogs, undo and redo, the number of undo levels and the new image.
// Each register function attaches its handlers to the command table; the
// create functions are the start-up factories of the dialogs.
#include "effects/Effect.h"

#include <span>
#include <string_view>

class QDialog;

namespace px {

class ImageWindow;
class MainWindow;
struct Session;

// "&Nouveau..." and TForm4.
void registerNewImageCommand(MainWindow& window);
QDialog* createNewImageDialog(MainWindow& owner);

// "&Annuler", "&Rétablir l'annulation", "&Annulation..." and TForm50.
void registerUndoCommands(MainWindow& window);
QDialog* createUndoLevelsDialog(MainWindow& owner);

// Every effect row of the registry (with its dialog when it has one) and
// the colour count.
void registerEffectCommands(MainWindow& window);

// "&Index des effets..." (and Choixeffetbut) with TForm46: previews the
// index's effects and runs the chosen one's menu command.
void registerEffectsIndexCommand(MainWindow& window);
QDialog* createEffectsIndex(MainWindow& owner);

// What an effect row may read besides the document of `image`: the
// session's colours and generator, the document's canvas and its brush.
EffectContext effectContextFor(Session& session, ImageWindow& image);

// Runs the effect row `name` with `values` on the active image window inside
// the frame: hour-glass, undo snapshot, undo controls, routine, repaint,
// overview. False when there is no active window, no such row, the values do
// not fit the row, or the routine failed (the failure is shown to the user).
bool runEffect(MainWindow& window, std::string_view name, std::span<const int> values);

// The undo controls (Annuler1 / Annulerbut, Rtablir1 / Retablirbut) follow
// the histories: enabled exactly while their history holds a snapshot.
void syncUndoControls(MainWindow& window);

// RefreshAfterEdit: the views that mirror the document follow it.
void refreshAfterEdit(ImageWindow& image);

} // namespace px
