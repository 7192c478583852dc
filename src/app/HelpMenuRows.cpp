// "&Aide": help pages, tip of the day, mail and web site, about.
#include "app/CommandTable.h"

namespace px {

namespace {
constexpr const char* A = "Aide1";
constexpr CommandRow kRows[] = {
    menu("", "Aide1", "&Aide"),
    item(A, "Aideenligne1", "&Aide Pixoran3", "F1"),
    item(A, "Astucedujour1", "A&stuce du jour"),
    menu(A, "Enligne1", "&En ligne"),
    item("Enligne1", "Envoyer1", "&Envoyer un email"),
    item("Enligne1", "SitePixoran31", "&Site Pixoran3"),
    separator(A, "N1"),
    item(A, "Apropos1", "A &propos..."),
};
} // namespace

std::span<const CommandRow> helpMenuRows() { return kRows; }

} // namespace px
