// Scanning: "&Acquérir..." and "&Sélection de la source...", through a
// TWAIN source manager or SANE.
#include "app/MainWindow.h"
#include "app/OutputCommands.h"
#include "app/WindowMenu.h"
#include "codecs/ImageFileError.h"
#include "document/ImageWindow.h"
#include "output/Acquisition.h"
#include "output/OutputServices.h"
#include "output/QtTwainHost.h"
#include "output/ScannerSourceDialog.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

namespace px {

// A new "Image" window holding the bitmap, cascaded with the others.
void showNewImage(MainWindow& window, Bitmap bitmap)
{
    auto* image = new ImageWindow(window.session());
    image->setFilePath(QString::fromLatin1(ImageWindow::kNewImageCaption));
    image->setDocument(std::move(bitmap));
    window.addImageWindow(image);
    cascade(window.mdiArea());
}

namespace {
void acquireTwain(MainWindow& window, bool selectFirst)
{
    OutputServices& services = window.outputServices();
    QtTwainHost host(&window, window.session().prompter);
    TwainLink link(*services.twainManager, host);
    if (selectFirst)
        link.selectImageSource(0);
    link.acquireNativeImages(0, 0);
    int unreadable = 0;
    std::vector<Bitmap> images = imagesForWindows(link, &unreadable);
    for (Bitmap& image : images)
        showNewImage(window, std::move(image));
    if (unreadable)
        window.session().prompter.error(InvalidImageError::kMessage);
}

void acquireSane(MainWindow& window, bool select)
{
    OutputServices& services = window.outputServices();
    Prompter& prompter = window.session().prompter;
    std::vector<ScannerDevice> devices;
    {
        BusyCursor wait;
        devices = services.scanners->devices();
    }
    if (devices.empty()) {
        prompter.message(kNoScanner, "Scanner", MessageKind::Warning);
        return;
    }
    if (select) {
        ScannerSourceDialog dialog(devices, services.scannerDevice, &window);
        if (window.runModal(dialog) != QDialog::Accepted || dialog.chosenDevice().empty())
            return;
        services.scannerDevice = dialog.chosenDevice();
    }
    Bitmap image;
    try {
        BusyCursor wait;
        image = services.scanners->scan(scanDevice(devices, services.scannerDevice));
    } catch (const ScanCancelled&) {
        return;
    } catch (const ScanError& e) {
        prompter.message(kScanFailedPrefix + std::string(e.what()), "Scanner", MessageKind::Error);
        return;
    } catch (const BitmapError& e) {
        prompter.error(e.what());
        return;
    }
    showNewImage(window, std::move(image));
}

void acquire(MainWindow& window, bool select)
{
    OutputServices& services = window.outputServices();
    if (scanRoute(*services.twainManager, *services.scanners) == ScanRoute::Sane)
        acquireSane(window, select);
    else
        acquireTwain(window, select);
}

} // namespace

void registerScanCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    commands.setHandler("Acqurir1", [&window] { acquire(window, false); });
    commands.setHandler("Slectiondelasource1", [&window] { acquire(window, true); });
}

} // namespace px
