#include "app/ToolBarRows.h"

namespace px {

namespace {
constexpr ToolButtonRow kMainButtons[] = {
    {"Nouveaubut", "Nouveau...", "Nouveau1", true, "document-new", "nouveau"},
    {"Ouvrirbut", "Ouvrir...", "Ouvrir1", true, "document-open", "ouvrir"},
    {"Enregistrerbut", "Enregistrer", "Enregistrer1", false, "document-save", "enregistrer"},
    {"Imprimerbut", "Imprimer", "Imprimer1", false, "document-print", "imprimer"},
    {"Annulerbut", "Annuler", "Annuler1", false, "edit-undo", "annuler"},
    {"Retablirbut", "Rétablir l'annulation", "Rtablir1", false, "edit-redo", "retablir"},
    {"Couperbut", "Couper", "Couper1", false, "edit-cut", "couper"},
    {"Copierbut", "Copier", "Copier1", false, "edit-copy", "copier"},
    {"Collerbut", "Coller", "Coller1", false, "edit-paste", "coller"},
    {"Infosbut", "Informations", "Informationsimage1", false, "dialog-information", "infos"},
    {"Ecranbut", "Plein écran", "Pleinecran1", false, "view-fullscreen", "ecran"},
    {"Optioutilsbut", "Options d'outils", "Optionsdoutils1", false, "", "optioutils"},
    {"Choixeffetbut", "Index des l'effets...", "Indexeffets1", false, "", "choixeffet"},
    {"Ajusterrvbbut", "Ajuster RVB...", "AjusterRVB1", false, "", "ajusterrvb"},
    {"Nombrecolbut", "Nombre de couleurs utilisées...", "Nombres1", false, "", "nombrecol"},
    {"Cyclebut", "Cycle", "Cycle1", false, "", "cycle"},
    {"Capturebut", "Capturer", "Capturer1", true, "", "capture"},
    {"Aidebut", "Aide Pixoran3", "Aideenligne1", true, "help-contents", "aide"},
};

constexpr DrawingToolRow kDrawingTools[] = {
    {0, "Lignebut", "Ligne", "Ligne actif", "ligne"},
    {2, "Crayonbut", "Crayon", "Crayon actif", "crayon"},
    {3, "Gommebut", "Gomme", "Gomme actif", "gomme"},
    {4, "Rempbut", "Remplissage", "Remplissage actif", "remplissage"},
    {5, "Coloribut", "Colorimètre", "Colorimètre actif", "colorimetre"},
    {6, "Aerogrbut", "Aérographe", "Aérographe actif", "aerographe"},
    {7, "Etoilebut", "Etoile", "Etoile actif", "etoile"},
    {8, "Spiralebut", "Spirale", "Spirale actif", "spirale"},
    {9, "Rectanglebut", "Rectangle", "Rectangle actif", "rectangle"},
    {10, "Roundrectbut", "Rectangle arrondi", "Rectangle arrondi actif", "roundrect"},
    {11, "Ellipsebut", "Ellipse", "Ellipse actif", "ellipse"},
    {12, "Floubut", "Rectangle flou", "Rectangle flou actif", "flou"},
    {13, "Carrebut", "Carré", "Carre actif", "carre"},
    {14, "Cerclebut", "Cercle", "Cercle actif", "cercle"},
    {15, "Tamponbut", "Tampon", "Tampon actif", "tampon"},
    {16, "Selection", "Sélection", "Sélection actif", "selection"},
    {17, "Textebut", "Texte", "Texte actif", "texte"},
    {18, "Spraybut", "Spray", "Spray actif", "spray"},
};
} // namespace

std::span<const ToolButtonRow> mainToolBarRows() { return kMainButtons; }
std::span<const DrawingToolRow> drawingToolRows() { return kDrawingTools; }

} // namespace px
