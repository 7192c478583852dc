// "&Couleurs": colour adjustments, pixel formats and the colour count.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* C = "Couleurs1";
constexpr CommandRow kRows[] = {
    menu("", "Couleurs1", "&Couleurs", kHidden),
    item(C, "AjusterRVB1", "&Ajuster RVB..."),
    item(C, "Changercol1", "&Changer une couleur"),
    item(C, "Colorisation1", "Colo&risation..."),
    menu(C, "Contraste3", "C&ontraste"),
    item("Contraste3", "Contraste1", "&Contraste"),
    item("Contraste3", "Contrasteplus1", "Contraste &plus"),
    separator("Contraste3", "N24"),
    item("Contraste3", "Contraste2", "C&ontraste..."),
    item(C, "Cycle1", "C&ycle"),
    menu(C, "Filtre2couleurs1", "&Deux couleurs"),
    item("Filtre2couleurs1", "Bleu1", "&Bleu/noir"),
    item("Filtre2couleurs1", "Rouge1", "&Rouge/noir"),
    item("Filtre2couleurs1", "Vert1", "&Vert/noir"),
    menu(C, "Eclaircir2", "Ecla&ircir"),
    item("Eclaircir2", "Eclaircir1", "&Eclaircir"),
    item("Eclaircir2", "Eclaicirplus1", "Eclaicir &plus"),
    separator("Eclaircir2", "N28"),
    item("Eclaircir2", "Eclaircir3", "E&claircir..."),
    menu(C, "Eclipse2", "&Eclipse"),
    item("Eclipse2", "Eclipse1", "&Eclipse"),
    item("Eclipse2", "Eclipseplus1", "Eclipse &plus"),
    separator("Eclipse2", "N22"),
    item("Eclipse2", "Eclipse3", "E&clipse..."),
    item(C, "Grisatre1", "&Grisâtre"),
    menu(C, "Luminosit2", "&Luminosité"),
    item("Luminosit2", "Luminosite1", "&Luminosité"),
    item("Luminosit2", "Luminositplus1", "Luminosité &plus"),
    separator("Luminosit2", "N21"),
    item("Luminosit2", "Luminosit1", "L&uminosité..."),
    item(C, "Ngative1", "&Négative"),
    menu(C, "Saturation2", "&Saturation"),
    item("Saturation2", "Saturation1", "&Saturation"),
    item("Saturation2", "Saturationplus1", "Saturation &plus"),
    separator("Saturation2", "N20"),
    item("Saturation2", "Saturation3", "S&aturation..."),
    item(C, "Teinte1", "&Teinte..."),
    separator(C, "N19"),
    item(C, "Nombres1", "No&mbres de couleurs utilisées..."),
    menu(C, "Augmenterlescouleurs1", "&Formats des pixels"),
    item("Augmenterlescouleurs1", "N2couleurs1bit1", "2 &couleurs (1 bit)"),
    item("Augmenterlescouleurs1", "N16couleurs4bit1", "16 c&ouleurs (4 bit)"),
    item("Augmenterlescouleurs1", "N256couleurs8bit1", "256 co&uleurs (8 bit)"),
    item("Augmenterlescouleurs1", "N16millions24bit1", "16 &millions (24 bit)"),
};
} // namespace

std::span<const CommandRow> coloursMenuRows() { return kRows; }

} // namespace px
