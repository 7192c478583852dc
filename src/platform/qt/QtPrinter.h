#pragma once
// The system's printers through Qt Print Support (CUPS on Linux). One
// QPrinter at the printer's own resolution lives as long as this object, so
// the setup and print dialogs' choices carry over between jobs.
#include "platform/Printer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QDialog;
class QPrinter;

namespace px {

class QtPrinter : public Printer {
public:
    explicit QtPrinter(QWidget* parent = nullptr);
    ~QtPrinter() override;
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    bool hasPrinters() override;
    bool runSetupDialog() override;
    bool runPrintDialog() override;
    Size pageSize() override;
    void printImage(const std::string& title, const Bitmap& image, Rect target) override;

    QPrinter& printer();
    // Runs the setup and print dialogs; tests answer them without showing.
    std::function<int(QDialog&)> runDialog;

private:
    QPointer<QWidget> parent_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace px
