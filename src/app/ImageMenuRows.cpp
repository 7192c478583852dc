// "&Image": mirrors, rotation, borders, generated images, resizing, and the
// view options of the image windows (cursor, magnifier side, cross-hair,
// overview, side panel).
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* I = "Image2";
constexpr CommandRow kRows[] = {
    menu("", "Image2", "&Image", kHidden),
    item(I, "MiroirHorizontal1", "Miroir &horizontal", "", "Miroir horizontal sur l'image"),
    item(I, "MiroirVertical1", "Miroir &vertical", "", "Miroir vertical sur l'image"),
    menu(I, "MiroirMultiplieur1", "Miroir m&ultiplieur"),
    item("MiroirMultiplieur1", "Miroir4", "Hauteur et largeur x 2", "", "Miroir hauteur et largeur x 2"),
    item("MiroirMultiplieur1", "Hauteurx2", "Hauteur x 2", "", "Miroir hauteur x 2"),
    item("MiroirMultiplieur1", "Largeurx2", "Largeur x 2", "", "Miroir largeur x 2"),
    separator(I, "N15"),
    item(I, "Rotation3", "&Rotation...", "", "Rotation de l'image"),
    separator(I, "N17"),
    item(I, "Ajouterunebordure1", "&Ajouter une bordure...", "", "Ajouter une bordure à l'image"),
    menu(I, "Insrer1", "&Bordure"),
    item("Insrer1", "Bordure1", "&Simple...", "", "Insérer une bordure à l'image"),
    item("Insrer1", "Bordurecou1", "&Deux couleurs...", "", "Insérer une bordure à deux couleurs à l'image"),
    item(I, "Construiredegrader", "&Construire dégrader..."),
    item(I, "Etirerbords1", "&Etirer les bords...", "", "Etirer les bords de l'image"),
    item(I, "Plasma1", "Plas&ma"),
    item(I, "Redimensionner1", "Re&dimensionner...", "", "Redimensionner l'image"),
    separator(I, "N6"),
    item(I, "Aperudunavigateur1", "Aperç&u du navigateur...", "", "Aperçu du navigateur de l'image"),
    menu(I, "Curseur1", "&Cur&seur"),
    radio("Curseur1", "Curseuraxial1", "&Curseur axial", "Cursor", kTicked),
    radio("Curseur1", "Curseurflche1", "C&urseur flèche", "Cursor"),
    item(I, "Informationsimage1", "&Informations...", "", "Informations sur l'image"),
    item(I, "Pleinecran1", "&Plein écran...", "", "Image en plein écran"),
    item(I, "Tempsdetelechargements1", "&Temps de téléchargements...", "", "Temps de téléchargements de l'image"),
    menu(I, "Zoom1", "&Zoom"),
    menu("Zoom1", "Emplacement1", "&Emplacement"),
    radio("Emplacement1", "Droite1", "&Droite", "ZoomSide", kTicked),
    radio("Emplacement1", "Gauche1", "&Gauche", "ZoomSide"),
    menu("Zoom1", "Repre1", "&Repère"),
    radio("Repre1", "Blanc1", "&Blanc", "CrossHair"),
    radio("Repre1", "Noir1", "&Noir", "CrossHair", kTicked),
    toggle("Zoom1", "Vuedensemble1", "Vue d'ensemble", "", kTicked),
    toggle("Zoom1", "Visible1", "&Visible", "", kTicked),
    separator(I, "N16"),
    item(I, "Optionsdoutils1", "&Options d'outils..."),
};
} // namespace

std::span<const CommandRow> imageMenuRows() { return kRows; }

} // namespace px
