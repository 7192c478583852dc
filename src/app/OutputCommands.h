#pragma once
// Printing, screen capture and scanning: "A&perçu avant impression...",
// "&Imprimer...", "&Configuration de l'impression..." (PrintCommands.cpp),
// "&Setup...", "&Capturer" (CaptureCommands.cpp), "&Acquérir..." and
// "&Sélection de la source..." (ScanCommands.cpp), with the start-up
// factories of TForm14 and TForm11.
#include "graphics/Bitmap.h"

class QDialog;

namespace px {

class MainWindow;

void registerPrintCommands(MainWindow& window);
void registerCaptureCommands(MainWindow& window);
void registerScanCommands(MainWindow& window);

QDialog* createPrintPreview(MainWindow& owner);
QDialog* createCaptureSetup(MainWindow& owner);

// A new "Image" window holding the bitmap, cascaded with the others.
void showNewImage(MainWindow& window, Bitmap bitmap);

// Printer check of the three printing commands.
inline constexpr const char* kNoPrinter = "Aucune imprimante par défaut sélectionnée.";

} // namespace px
