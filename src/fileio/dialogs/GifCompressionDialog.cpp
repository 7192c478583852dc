#include "fileio/dialogs/GifCompressionDialog.h"

#include "platform/Prompter.h"
#include "platform/qt/DialogButtons.h"
#include "platform/SettingsFile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

namespace px {

GifCompressionDialog::GifCompressionDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("TForm24"));
    setWindowTitle(QStringLiteral("Compression Gif..."));

    auto* box = new QGroupBox(QStringLiteral("Compression"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    lzw_ = new QRadioButton(QStringLiteral("Compression LZW (recommandé)"), box);
    lzw_->setObjectName(QStringLiteral("RadioButton1"));
    lzw_->setChecked(true);
    rle_ = new QRadioButton(QStringLiteral("Compression RLE"), box);
    rle_->setObjectName(QStringLiteral("RadioButton2"));
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(lzw_);
    boxLayout->addWidget(rle_);

    const auto [ok, cancel] =
        makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"), /*okAccepts=*/false);
    connect(ok, &QPushButton::clicked, this, &GifCompressionDialog::okClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool GifCompressionDialog::rle() const
{
    return rle_->isChecked();
}

void GifCompressionDialog::okClicked()
{
    try {
        settings_.writeString("Compression", "Gif", rle() ? "1" : "0");
    } catch (const std::exception& e) {
        prompter_.error(e.what());
        return;
    }
    accept();
}

} // namespace px
