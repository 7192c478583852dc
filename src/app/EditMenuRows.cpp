// "&Edition": undo and redo, clipboard, clearing.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* E = "Edition1";
constexpr unsigned kOff = kHidden | kDisabled;
constexpr CommandRow kRows[] = {
    menu("", "Edition1", "&Edition"),
    item(E, "Annuler1", "&Annuler", "Ctrl+Z", "Annuler l'opération", kOff),
    item(E, "Rtablir1", "&Rétablir l'annulation", "Ctrl+R", "Rétablir l'opération", kOff),
    item(E, "Enregistrerlamacro1", "Enregistrer la &macro...", "",
         "Enregistrer les commandes appliquées à l'image pour les rejouer avec pixoran3 --macro", kDisabled),
    separator(E, "N9", kHidden),
    item(E, "Couper1", "&Couper", "Ctrl+X", "Couper l'image", kOff),
    item(E, "Copier1", "Co&pier", "Ctrl+C", "Copier l'image", kOff),
    menu(E, "Coller2", "Co&ller"),
    item("Coller2", "Coller1", "&Nouvelle image", "Ctrl+V", "Coller en créant une nouvelle l'image"),
    item("Coller2", "Slction1", "&Sélection", "Ctrl+S", "Coller la sélection", kOff),
    menu(E, "e1", "P&resse-papier"),
    item("e1", "Charger1", "&Charger...", "", "Charger une image dans le presse-papier"),
    item("e1", "Vider1", "&Vider", "", "Vider le presse-papier"),
    separator(E, "N5"),
    item(E, "Clair1", "Cla&ir", "Ctrl+L", "Effacer le contenu de l'image avec la couleur de fond", kOff),
    item(E, "Supprimer1", "&Supprimer", "Del", "Supprimer le contenu de l'image", kOff),
    item(E, "Touteffacer1", "&Tout effacer", "Ctrl+T", "Effacer tout le contenu de l'image", kOff),
};
} // namespace

std::span<const CommandRow> editMenuRows() { return kRows; }

} // namespace px
