// "Fe&nêtre": arranging and cycling the image windows; the list of open
// windows is appended below these rows when the menu opens.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* W = "Window1";
constexpr CommandRow kRows[] = {
    menu("", "Window1", "Fe&nêtre", kHidden),
    item(W, "Nouvellefentre1", "&Nouvelle fenêtre"),
    item(W, "Suivante1", "&Suivante"),
    item(W, "Prcdente1", "&Précédente"),
    item(W, "Cascade1", "&Cascade"),
    item(W, "Horizontale1", "Mosaïque  &horizontale"),
    item(W, "Verticale1", "Mosaïque &verticale"),
    item(W, "Toutfermer1", "&Tout fermer"),
};
} // namespace

std::span<const CommandRow> windowMenuRows() { return kRows; }

} // namespace px
