#pragma once
// TForm24, "Compression Gif...": LZW or RLE compression for GIF files. The
// program writes no GIF file and no command shows this window; OK records
// the choice in the settings file (section Compression, key Gif: "0" for
// LZW, "1" for RLE). A write that fails is reported and the window stays
// open.
#include <QDialog>

class QRadioButton;

namespace px {

class Prompter;
class SettingsFile;

class GifCompressionDialog : public QDialog {
    Q_OBJECT
public:
    GifCompressionDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent = nullptr);

    bool rle() const;

private:
    void okClicked();

    SettingsFile& settings_;
    Prompter& prompter_;
    QRadioButton* lzw_ = nullptr; // RadioButton1
    QRadioButton* rle_ = nullptr; // RadioButton2
};

} // namespace px
