#include "platform/qt/QtPrinter.h"

#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace px {

QtPrinter::QtPrinter(QWidget* parent) : parent_(parent)
{
    runDialog = [](QDialog& dialog) { return dialog.exec(); };
}

QtPrinter::~QtPrinter() = default;

// Made at first use: asking CUPS for the default printer takes a moment
// that a program that never prints should not pay at start.
QPrinter& QtPrinter::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool QtPrinter::hasPrinters()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool QtPrinter::runSetupDialog()
{
    QPageSetupDialog dialog(&printer(), parent_);
    return runDialog(dialog) == QDialog::Accepted;
}

bool QtPrinter::runPrintDialog()
{
    QPrintDialog dialog(&printer(), parent_);
    return runDialog(dialog) == QDialog::Accepted;
}

Size QtPrinter::pageSize()
{
    return {printer().width(), printer().height()};
}

void QtPrinter::printImage(const std::string& title, const Bitmap& image, Rect target)
{
    QPrinter& p = printer();
    p.setDocName(QString::fromStdString(title));
    Bitmap converted;
    const Bitmap& rgb = viewAs24(image, converted);
    const QImage picture(rgb.bits(), rgb.width(), rgb.height(), qsizetype(rgb.stride()), QImage::Format_BGR888);
    QPainter painter;
    if (!painter.begin(&p))
        throw PrintError("Impossible de commencer l'impression sur " + p.printerName().toStdString());
    painter.drawImage(QRect(target.left, target.top, target.width(), target.height()), picture);
    if (!painter.end())
        throw PrintError("L'impression n'a pas pu être terminée.");
}

} // namespace px
