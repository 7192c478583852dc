#pragma once
// TForm16, "Informations...": the file's name, type, size and dates and the
// image's size and depth, in three frames. The window lives for the whole
// run: a report sets the labels it has values for and leaves the others as
// the previous report left them.
#include "fileio/ImageInformation.h"

#include <QDialog>

class QLabel;

namespace px {

class ImageInformationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImageInformationDialog(QWidget* parent = nullptr);

    void showReport(const InformationReport& report);

private:
    QLabel* name_ = nullptr;   // Label10
    QLabel* type_ = nullptr;   // Label8
    QLabel* width_ = nullptr;  // Label2
    QLabel* height_ = nullptr; // Label4
    QLabel* bits_ = nullptr;   // Label18
    QLabel* size_ = nullptr;   // Label12
    QLabel* date_ = nullptr;   // Label14
    QLabel* time_ = nullptr;   // Label16
};

} // namespace px
