// "&Informations..." (and its tool-bar button Infosbut) and "&Temps de
// téléchargements...": reports on the active image window in TForm16 and
// TForm8.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "document/ImageWindow.h"
#include "fileio/dialogs/DownloadTimeDialog.h"
#include "fileio/dialogs/ImageInformationDialog.h"
#include "fileio/ImageInformation.h"

namespace px {

namespace {

ImageFacts factsOf(ImageWindow& image)
{
    ImageFacts facts;
    facts.caption = image.windowTitle().toStdString();
    facts.newImage = image.windowTitle() == QLatin1String(ImageWindow::kNewImageCaption);
    facts.path = std::filesystem::path(image.filePath().toStdString());
    facts.width = image.document().width();
    facts.height = image.document().height();
    facts.bitsPerPixel = image.document().bitsPerPixel();
    return facts;
}

} // namespace

void registerInformationCommands(MainWindow& window)
{
    CommandTable& table = window.commands();
    table.setHandler("Informationsimage1", [&window] {
        ImageWindow* image = window.activeImageWindow();
        auto* dialog = qobject_cast<ImageInformationDialog*>(window.dialog("TForm16"));
        if (!image || !dialog)
            return;
        dialog->showReport(informationReport(factsOf(*image)));
        window.runModal(*dialog);
    });
    table.setHandler("Tempsdetelechargements1", [&window] {
        ImageWindow* image = window.activeImageWindow();
        auto* dialog = qobject_cast<DownloadTimeDialog*>(window.dialog("TForm8"));
        if (!image || !dialog)
            return;
        dialog->report(downloadSize(factsOf(*image)));
        window.runModal(*dialog);
    });
}

QDialog* createImageInformation(MainWindow& owner)
{
    return new ImageInformationDialog(&owner);
}

QDialog* createDownloadTime(MainWindow& owner)
{
    return new DownloadTimeDialog(&owner);
}

} // namespace px
