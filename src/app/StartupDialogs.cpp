#include "app/StartupDialogs.h"

#include "app/DrawingCommands.h"
#include "app/EditingCommands.h"
#include "app/OutputCommands.h"
#include "app/ShellCommands.h"

namespace px {

namespace {
constexpr StartupDialog kDialogs[] = {
    {"TForm4", "Nouveau...", createNewImageDialog},
    {"TForm3", "Dégrader", nullptr},
    {"TForm5", "Construire degrader...", nullptr},
    {"TForm6", "Astuce du jour...", createTipOfTheDay},
    {"TForm7", "Contraste...", nullptr},
    {"TForm8", "Temps de téléchargements...", createDownloadTime},
    {"TForm9", "Luminosité...", nullptr},
    {"TForm10", "A propos...", createAbout},
    {"TForm11", "Setup...", createCaptureSetup},
    {"TForm22", "Options d'outils...", createToolOptionsDialog},
    {"TForm20", "Texte...", createTextDialog},
    {"TForm12", "Bordure simple...", nullptr},
    {"TForm13", "", nullptr}, // the full-screen view is made when shown
    {"TForm15", "Créer une déformation...", nullptr},
    {"TForm16", "Informations...", createImageInformation},
    {"TForm17", "Options Jpeg...", createJpegOptions},
    {"TForm18", "Rotation...", nullptr},
    {"TForm19", "Palette de couleurs...", nullptr}, // made and owned by the colour panel
    {"TForm23", "Formats associés...", createFileAssociations},
    {"TForm24", "Compression Gif...", createGifCompression},
    {"TForm27", "Créer son filtre...", nullptr},
    {"TForm28", "Bordure à deux couleurs...", nullptr},
    {"TForm29", "Rotation superposée...", nullptr},
    {"TForm30", "Etirer image...", nullptr},
    {"TForm31", "Redimensionner...", nullptr},
    {"TForm32", "Ajouter une bordure...", nullptr},
    {"TForm34", "Saturation...", nullptr},
    {"TForm35", "Eclipse...", nullptr},
    {"TForm38", "Ajuster RVB...", nullptr},
    {"TForm39", "Hallucination...", nullptr},
    {"TForm40", "Bouton...", nullptr},
    {"TForm41", "Bordure décomposée...", nullptr},
    {"TForm42", "Eclaircir...", nullptr},
    {"TForm43", "Mosaïque...", nullptr},
    {"TForm44", "Mirage...", nullptr},
    {"TForm45", "Tordre...", nullptr},
    {"TForm46", "Index des effets", createEffectsIndex},
    {"TForm49", "Enregistrement automatique...", createAutosave},
    {"TForm50", "Annulation...", createUndoLevelsDialog},
    {"TForm14", "Aperçu avant impression...", createPrintPreview},
};
} // namespace

std::span<const StartupDialog> startupDialogs()
{
    return kDialogs;
}

} // namespace px
