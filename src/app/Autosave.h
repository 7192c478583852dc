#pragma once
// Timed autosave: the main window's timer Tpssave1 and the command
// "&Enregistrement automatique..." that sets it from the dialog TForm49.
//
// The dialog labels its value "Minutes :", and the period is that many
// minutes. The timer is stopped at start and does not outlive the run.
namespace px {

class MainWindow;

// Creates Tpssave1 (a child of the window) and attaches Enregistauto1Click.
void registerAutosave(MainWindow& window);

// Tpssave1Timer: "&Enregistrer" on the active image window while an image
// is open. A tick that comes while the previous one is still asking for a
// file name is skipped, so dialogs do not pile up.
void autosaveTick(MainWindow& window);

} // namespace px
