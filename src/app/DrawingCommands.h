#pragma once
// The commands of the drawing tools and of the clipboard: the tool options
// window and its three ways in, the text tool's button and window, the
// spray's own timer, the "&Edition" menu's clipboard and clearing commands
// and the file menu's "Eff&acer...".
class QDialog;

namespace px {

class MainWindow;

// "&Options d'outils..." (and its pop-up item and tool-bar button), the
// "Texte" palette button, and SprayTimer, which ticks the spray while it is
// the selected tool.
void registerToolCommands(MainWindow& window);
// TForm22 "Options d'outils..." and TForm20 "Texte...".
QDialog* createToolOptionsDialog(MainWindow& owner);
QDialog* createTextDialog(MainWindow& owner);

// "&Couper", "Co&pier", "Co&ller" > "&Nouvelle image" and "&Sélection",
// "P&resse-papier" > "&Charger..." and "&Vider", "Cla&ir", "&Supprimer",
// "&Tout effacer", and "Eff&acer...".
void registerClipboardCommands(MainWindow& window);

} // namespace px
