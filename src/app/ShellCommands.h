#pragma once
// The handlers of the main window's own commands, grouped by feature. Each
// register function attaches its handlers to the command table and connects
// whatever signals its feature follows.
class QDialog;

namespace px {

class MainWindow;

// "&Fermer...", "&Quitter".
void registerFileCommands(MainWindow& window);
// "&Ouvrir...", "&Restaurer...".
void registerOpenCommands(MainWindow& window);
// The four recent files of the "&Fichier" menu.
void registerRecentFileCommands(MainWindow& window);
// Tpssave1 (a child of the window) and "&Enregistrement automatique...".
void registerAutosave(MainWindow& window);
// "&Enregistrer", "En&registrer sous...", "Enre&gistrer la copie sous...",
// "&Options jpeg...", and the save of a closing window (saveDocument).
void registerSaveCommands(MainWindow& window);
// The Options menu: tool bars, colour panel, status bar, button style, panel side.
void registerOptionsCommands(MainWindow& window);
// The view options of the "&Image" menu, "&Plein écran...".
void registerViewCommands(MainWindow& window);
// The "Fe&nêtre" menu.
void registerWindowCommands(MainWindow& window);
// "Enregistrer la &macro...": the active image's macro record to a file.
void registerMacroCommands(MainWindow& window);
// The "&Aide" menu.
void registerHelpCommands(MainWindow& window);
// "&Informations..." (also Infosbut) and "&Temps de téléchargements...".
void registerInformationCommands(MainWindow& window);
// "&Formats associés...".
void registerFormatCommands(MainWindow& window);
// "Aperç&u du navigateur...".
void registerPreviewCommand(MainWindow& window);

// The start-up factories of the dialogs these commands show: TForm6 "Astuce
// du jour...", TForm10 "A propos...", TForm17 "Options Jpeg..." and TForm49
// "Enregistrement automatique...".
QDialog* createTipOfTheDay(MainWindow& owner);
QDialog* createAbout(MainWindow& owner);
QDialog* createJpegOptions(MainWindow& owner);
QDialog* createAutosave(MainWindow& owner);
// TForm8 "Temps de téléchargements...", TForm16 "Informations...", TForm23
// "Formats associés..." and TForm24 "Compression Gif...".
QDialog* createDownloadTime(MainWindow& owner);
QDialog* createImageInformation(MainWindow& owner);
QDialog* createFileAssociations(MainWindow& owner);
QDialog* createGifCompression(MainWindow& owner);

// The program's addresses.
inline constexpr const char* kWebSite = "https://www.pixoran3.example/";
inline constexpr const char* kMailLink = "mailto:contact@pixoran3.example?subject=Pixoran3";

} // namespace px
