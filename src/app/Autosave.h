#pragma once
// Timed autosave: the main window's timer Tpssave1 and the command
// "&Enregistrement automatique..." that sets it from the dialog TForm49
// (registerAutosave, ShellCommands.h).
//
// The dialog labels its value "Minutes :", and the period is that many
// minutes. The timer is stopped at start and does not outlive the run.
namespace px {

class MainWindow;

// Tpssave1Timer: "&Enregistrer" on the active image window while an image
// is open. A tick that comes while the previous one is still asking for a
// file name is skipped, so dialogs do not pile up.
void autosaveTick(MainWindow& window);

} // namespace px
