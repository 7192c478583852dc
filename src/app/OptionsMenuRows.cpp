// "&Options": tool bars, status bar, button style, colour panel side, and the
// dialogs of associations, JPEG, undo levels and autosave.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* O = "Environnement1";
constexpr CommandRow kRows[] = {
    menu("", "Environnement1", "&Options"),
    toggle(O, "Paletteprincipale1", "&Palette principale", "", kTicked),
    toggle(O, "Palettedoutils1", "P&alette d'outils", "", kTicked),
    toggle(O, "Palettedecouleurs1", "Pa&lette de couleurs", "", kTicked),
    separator(O, "N7"),
    toggle(O, "Statusbar2", "&Barre d'état", "", kTicked),
    toggle(O, "Bouton3D1", "&Boutons 3D"),
    menu(O, "Palettedoutils2", "Palette d'outils"),
    radio("Palettedoutils2", "Emplacementdroite1", "Emplacement à droite", "PanelSide", kTicked),
    radio("Palettedoutils2", "Emplacementgauche1", "Emplacement à gauche", "PanelSide"),
    separator(O, "N3"),
    item(O, "Formatsassoci1", "&Formats associés...", "", "Associé un format à Pixoran3"),
    item(O, "CompressionJpeg1", "&Options jpeg...", "", "Options des fichiers Jpeg"),
    separator(O, "N12"),
    item(O, "Annulation1", "&Annulation...", "", "Option de l'annulation"),
    item(O, "Enregistauto1", "&Enregistrement automatique...", "", "Enregistrement automatique"),
};
} // namespace

std::span<const CommandRow> optionsMenuRows() { return kRows; }

} // namespace px
