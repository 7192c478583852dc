#pragma once
// The printers of the system as the printing commands use them: whether any
// printer is installed, the printer setup and print dialogs, the printable
// area of the chosen printer's page, and one document holding one image.
// The GUI implementation is platform/qt/QtPrinter (Qt Print Support, which
// goes through CUPS on Linux); tests also use a recording double.
#include "graphics/Bitmap.h"
#include "graphics/CanvasTypes.h"

#include <stdexcept>
#include <string>

namespace px {

// A job the printer services refused or could not finish.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Printer {
public:
    virtual ~Printer() = default;

    // True when at least one printer is installed.
    virtual bool hasPrinters() = 0;
    // The printer setup dialog (printer, paper, orientation); false when
    // the user cancels it.
    virtual bool runSetupDialog() = 0;
    // The print dialog before a job; false when the user cancels it.
    virtual bool runPrintDialog() = 0;
    // Width and height of the page's printable area in printer pixels.
    virtual Size pageSize() = 0;
    // One document titled `title`: `image` stretched onto `target`, given
    // in printer pixels from the top-left corner of the printable area.
    // Throws PrintError when the job cannot be started or finished.
    virtual void printImage(const std::string& title, const Bitmap& image, Rect target) = 0;
};

} // namespace px
