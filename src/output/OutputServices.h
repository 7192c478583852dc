#pragma once
// The desktop services that printing, screen capture and scanning use, one
// set per main window. The main window makes the system's; tests replace
// any of them with doubles before running a command.
#include "platform/Printer.h"
#include "platform/Scanner.h"
#include "platform/ScreenCapture.h"
#include "platform/TwainProtocol.h"

#include <memory>
#include <string>

class QWidget;

namespace px {

struct OutputServices {
    std::unique_ptr<Printer> printer;
    std::unique_ptr<ScreenGrabber> screen;
    std::unique_ptr<TriggerPoller> triggers;
    std::unique_ptr<twain::DsmLibrary> twainManager;
    std::unique_ptr<ScannerDevices> scanners;
    // The scanner chosen with "&Sélection de la source..." when scanning
    // goes through SANE; empty for the first device found. Kept for the run.
    std::string scannerDevice;

    // Qt Print Support, the Qt screen, X11 polling, the TWAIN manager
    // library and SANE. Nothing is loaded or opened before its first use.
    static std::unique_ptr<OutputServices> system(QWidget* dialogParent);
};

} // namespace px
