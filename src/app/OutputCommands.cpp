#include "app/OutputCommands.h"

#include "app/MainWindow.h"
#include "app/WindowMenu.h"
#include "codecs/ImageFileError.h"
#include "document/ImageWindow.h"
#include "output/Acquisition.h"
#include "output/CaptureSequence.h"
#include "output/CaptureSetupDialog.h"
#include "output/OutputServices.h"
#include "output/PrintPreviewDialog.h"
#include "output/QtTwainHost.h"
#include "output/ScannerSourceDialog.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QThread>

namespace px {

namespace {

// A new "Image" window holding the bitmap, cascaded with the others.
void showNewImage(MainWindow& window, Bitmap bitmap)
{
    auto* image = new ImageWindow(window.session());
    image->setFilePath(QString::fromLatin1(ImageWindow::kNewImageCaption));
    image->setDocument(std::move(bitmap));
    window.addImageWindow(image);
    cascade(window.mdiArea());
}

// --- Printing ---

bool printerInstalled(MainWindow& window)
{
    if (window.outputServices().printer->hasPrinters())
        return true;
    window.session().prompter.message(kNoPrinter, "Erreur", MessageKind::Error);
    return false;
}

PrintPreviewDialog* preview(MainWindow& window)
{
    return qobject_cast<PrintPreviewDialog*>(window.dialog("TForm14"));
}

// Steps 1 and 2 of the preview and print commands.
PrintPreviewDialog* preparePrint(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    PrintPreviewDialog* dialog = preview(window);
    if (!image || !dialog)
        return nullptr;
    BusyCursor wait;
    dialog->prepare(image->document(), image->filePath());
    return dialog;
}

// --- Capture ---

class WindowCaptureHost : public CaptureHost {
public:
    explicit WindowCaptureHost(MainWindow& window) : window_(window), shown_(window.isVisible()) {}

    void minimise() override
    {
        state_ = window_.windowState();
        window_.showMinimized();
    }
    void restore() override
    {
        window_.setWindowState((state_ & ~Qt::WindowMinimized) | Qt::WindowActive);
        window_.show();
        window_.raise();
        window_.activateWindow();
        cascade(window_.mdiArea());
    }
    // The program keeps handling its events while it waits; it is quitting
    // once its main window, shown at the start, has closed.
    bool wait(int milliseconds) override
    {
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (quitting())
                return false;
            const qint64 left = milliseconds - clock.elapsed();
            if (left > 0)
                QThread::msleep(unsigned(std::min<qint64>(left, 5)));
        } while (clock.elapsed() < milliseconds);
        return !quitting();
    }
    void showCapture(Bitmap bitmap) override { showNewImage(window_, std::move(bitmap)); }
    void message(const std::string& text) override { window_.session().prompter.message(text, "Capture"); }

private:
    bool quitting() const { return QCoreApplication::closingDown() || (shown_ && !window_.isVisible()); }

    MainWindow& window_;
    bool shown_;
    Qt::WindowStates state_;
};

void capture(MainWindow& window)
{
    auto* setup = qobject_cast<CaptureSetupDialog*>(window.dialog("TForm11"));
    const CaptureOptions options = setup ? setup->options() : CaptureOptions{};
    OutputServices& services = window.outputServices();
    WindowCaptureHost host(window);
    runCapture(options, host, *services.screen, *services.triggers);
}

// --- Scanning ---

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

QDialog* createPrintPreview(MainWindow& owner)
{
    return new PrintPreviewDialog(owner.outputServices(), owner.session().prompter, &owner);
}

QDialog* createCaptureSetup(MainWindow& owner)
{
    return new CaptureSetupDialog(owner.settings(), owner.session().prompter, &owner);
}

void registerOutputCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();

    commands.setHandler("Aperuavantimpression1", [&window] {
        if (!printerInstalled(window))
            return;
        if (PrintPreviewDialog* dialog = preparePrint(window)) {
            dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
            window.runModal(*dialog);
        }
    });
    // "&Imprimer..." (and its tool-bar button): the print dialog and the job
    // at the factors last set in the preview, without showing it.
    commands.setHandler("Imprimer1", [&window] {
        if (!printerInstalled(window))
            return;
        if (PrintPreviewDialog* dialog = preparePrint(window))
            dialog->print();
    });
    commands.setHandler("Configurationdelimpression1", [&window] {
        if (printerInstalled(window))
            window.outputServices().printer->runSetupDialog();
    });

    // "&Setup...": only "Capturer" (the OK result) goes on to capture.
    commands.setHandler("Setup1", [&window] {
        QDialog* setup = window.dialog("TForm11");
        if (setup && window.runModal(*setup) == QDialog::Accepted)
            capture(window);
    });
    commands.setHandler("Capturer1", [&window] { capture(window); });

    commands.setHandler("Acqurir1", [&window] { acquire(window, false); });
    commands.setHandler("Slectiondelasource1", [&window] { acquire(window, true); });
}

} // namespace px
