#pragma once
// Printing, screen capture and scanning: "A&perçu avant impression...",
// "&Imprimer...", "&Configuration de l'impression...", "&Setup...",
// "&Capturer", "&Acquérir..." and "&Sélection de la source...", with the
// start-up factories of TForm14 and TForm11.
class QDialog;

namespace px {

class MainWindow;

void registerOutputCommands(MainWindow& window);

QDialog* createPrintPreview(MainWindow& owner);
QDialog* createCaptureSetup(MainWindow& owner);

// Printer check of the three printing commands.
inline constexpr const char* kNoPrinter = "Aucune imprimante par défaut sélectionnée.";

} // namespace px
