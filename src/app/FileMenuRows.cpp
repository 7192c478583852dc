// "&Fichier": new, open, close, save, scanner, printing, recent files, quit.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* F = "Fichier1";
constexpr CommandRow kRows[] = {
    menu("", "Fichier1", "&Fichier"),
    item(F, "Nouveau1", "&Nouveau...", "Ctrl+N", "Créer une nouvelle image"),
    item(F, "Ouvrir1", "&Ouvrir...", "Ctrl+O", "Ouvrir une nouvelle image "),
    item(F, "Fermer1", "&Fermer...", "Ctrl+F", "Fermer l'image", kHidden | kDisabled),
    item(F, "Restaurer1", "&Restaurer...", "", "Restaurer l'image de départ", kHidden),
    item(F, "Effacer1", "Eff&acer...", "", "Eff&acer l'image", kHidden),
    separator(F, "N2"),
    item(F, "Enregistrer1", "&Enregistrer", "", "Enregistrer l'image", kHidden),
    item(F, "Enregistrersous1", "En&registrer sous...", "", "Enregistrer l'image en spécifiant le chemin", kHidden),
    item(F, "Enregistrerlacopiesous1", "Enre&gistrer la copie sous...", "", "Enregistrer la copie de l'image",
         kHidden),
    separator(F, "N8", kHidden),
    menu(F, "Twain1", "&Twain"),
    item("Twain1", "Acqurir1", "&Acquérir...", "", "Acquérir l'image"),
    item("Twain1", "Slectiondelasource1", "&Sélection de la source...", "", "Sélectionner la source"),
    separator(F, "N4"),
    item(F, "Aperuavantimpression1", "A&perçu avant impression...", "", "Aperçu avant impression de l'image",
         kHidden),
    item(F, "Configurationdelimpression1", "&Configuration de l'impression...", "",
         "Configuration de l'impression de l'image", kHidden),
    item(F, "Imprimer1", "&Imprimer...", "", "Imprimer l'image", kHidden),
    separator(F, "N11"),
    item(F, "mru1", "mru", "", "Fichier récent", kHidden),
    item(F, "mru2", "mru", "", "Fichier récent", kHidden),
    item(F, "mru3", "mru", "", "Fichier récent", kHidden),
    item(F, "mru4", "mru", "", "Fichier récent", kHidden),
    separator(F, "Mrudiv", kHidden),
    item(F, "Quitter1", "&Quitter", "Ctrl+Q", "Quitte Pixoran3"),
};
} // namespace

std::span<const CommandRow> fileMenuRows() { return kRows; }

} // namespace px
