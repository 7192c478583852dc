#include "fileio/dialogs/JpegOptionsDialog.h"

#include "platform/Prompter.h"
#include "platform/qt/DialogButtons.h"
#include "platform/SettingsFile.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

namespace px {

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}
} // namespace

JpegOptionsDialog::JpegOptionsDialog(SettingsFile& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("TForm17"));
    setWindowTitle(QStringLiteral("Options Jpeg..."));

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));

    auto* quality = new QWidget;
    quality->setObjectName(QStringLiteral("TabSheet1"));
    auto* qualityLayout = new QGridLayout(quality);
    qualityLayout->addWidget(label(quality, "Label1", QStringLiteral("Valeur de compresssion :")), 0, 0, 1, 2);
    value_ = label(quality, "Label5", QString::number(kDefaultQuality));
    qualityLayout->addWidget(value_, 0, 2, Qt::AlignRight);
    trackBar_ = new QSlider(Qt::Horizontal, quality);
    trackBar_->setObjectName(QStringLiteral("TrackBar1"));
    trackBar_->setRange(1, 99);
    trackBar_->setValue(kDefaultQuality);
    trackBar_->setTickInterval(5);
    trackBar_->setTickPosition(QSlider::TicksBelow);
    qualityLayout->addWidget(label(quality, "Label2", QStringLiteral("1")), 1, 0);
    qualityLayout->addWidget(trackBar_, 1, 1);
    qualityLayout->addWidget(label(quality, "Label3", QStringLiteral("99")), 1, 2);
    qualityLayout->addWidget(label(quality, "Label4", QStringLiteral("1 = très compressé")), 2, 1);
    pages->addTab(quality, QStringLiteral("Qualité"));

    auto* display = new QWidget;
    display->setObjectName(QStringLiteral("TabSheet2"));
    auto* displayLayout = new QVBoxLayout(display);
    auto* kind = new QGroupBox(QStringLiteral("Type d'affichage"), display);
    kind->setObjectName(QStringLiteral("GroupBox2"));
    auto* kindLayout = new QVBoxLayout(kind);
    standard_ = new QRadioButton(QStringLiteral("Standard"), kind);
    standard_->setObjectName(QStringLiteral("RadioButton3"));
    standard_->setChecked(true);
    progressive_ = new QRadioButton(QStringLiteral("Progressif"), kind);
    progressive_->setObjectName(QStringLiteral("RadioButton4"));
    kindLayout->addWidget(standard_);
    kindLayout->addWidget(progressive_);
    displayLayout->addWidget(kind);
    displayLayout->addStretch();
    pages->addTab(display, QStringLiteral("Affichage"));

    // TrackBar1Change.
    connect(trackBar_, &QSlider::valueChanged, this, [this](int v) { value_->setText(QString::number(v)); });

    const auto [ok, cancel] =
        makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"), /*okAccepts=*/false);
    connect(ok, &QPushButton::clicked, this, &JpegOptionsDialog::okClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);
}

int JpegOptionsDialog::quality() const
{
    return value_->text().toInt();
}

bool JpegOptionsDialog::progressive() const
{
    return progressive_->isChecked();
}

// Button1Click. A settings file that cannot be written is reported; the
// choices still hold for this run, since the save commands read the controls.
void JpegOptionsDialog::okClicked()
{
    try {
        settings_.writeString("Compression", "Jpeg", value_->text().toStdString());
        settings_.writeString("Jpeg", "affichage", progressive_->isChecked() ? "1" : "0");
    } catch (const std::exception& e) {
        prompter_.error(e.what());
    }
    accept();
}

} // namespace px
