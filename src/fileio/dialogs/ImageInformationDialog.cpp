#include "fileio/dialogs/ImageInformationDialog.h"

#include <QDate>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

#include <tuple>
#include <vector>

namespace px {

namespace {

constexpr const char* kNoInformation = "aucune information";

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// A frame of caption and value labels; returns the value labels in order.
QGroupBox* frame(QWidget* parent, const char* name, const QString& title,
                 std::initializer_list<std::tuple<const char*, const char*, const char*, const char*>> rows,
                 std::vector<QLabel*>& values)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    auto* form = new QFormLayout(box);
    for (const auto& [captionName, captionText, valueName, valueText] : rows) {
        auto* caption = new QLabel(QString::fromUtf8(captionText), box);
        caption->setObjectName(QLatin1String(captionName));
        auto* value = new QLabel(QString::fromUtf8(valueText), box);
        value->setObjectName(QLatin1String(valueName));
        // A type text such as "Portable b&w images" shows its ampersand.
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, value);
        values.push_back(value);
    }
    return box;
}

// The locale's long time format without its time zone: hours, minutes and
// seconds of the local clock.
QString longTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            out += c;
    }
    return out.trimmed();
}

} // namespace

ImageInformationDialog::ImageInformationDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QStringLiteral("Informations..."));

    std::vector<QLabel*> values;
    auto* file = frame(this, "GroupBox1", QStringLiteral("Fichier source"),
                       {{"Label9", "Nom :", "Label10", ""},
                        {"Label7", "Type :", "Label8", kNoInformation},
                        {"Label11", "Taille (en octets) :", "Label12", kNoInformation},
                        {"Label13", "Dernière modification :", "Label14", kNoInformation},
                        {"Label15", "Heure de la modification :", "Label16", kNoInformation}},
                       values);
    auto* image = frame(this, "GroupBox2", QStringLiteral("Image"),
                        {{"Label1", "Largeur en pixels :", "Label2", kNoInformation},
                         {"Label3", "Hauteur en pixels :", "Label4", kNoInformation}},
                        values);
    auto* features = frame(this, "GroupBox3", QStringLiteral("Caractéristiques"),
                           {{"Label17", "Bits :", "Label18", "24 (16.7 millions de couleurs)"},
                            {"Label5", "Pixels par pouce :", "Label6", "72"}},
                           values);
    name_ = values[0];
    type_ = values[1];
    size_ = values[2];
    date_ = values[3];
    time_ = values[4];
    width_ = values[5];
    height_ = values[6];
    bits_ = values[7];

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addWidget(image);
    layout->addWidget(features);
    layout->addLayout(buttons);
    layout->setSpacing(8);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ImageInformationDialog::showReport(const InformationReport& report)
{
    width_->setText(utf8(report.width));
    height_->setText(utf8(report.height));
    if (report.size)
        size_->setText(utf8(*report.size));
    if (report.notCreated) {
        date_->setText(QString::fromUtf8(kNotCreated));
        time_->setText(QString::fromUtf8(kNotCreated));
    } else if (report.modified) {
        const LocalDateTime& m = *report.modified;
        const QLocale locale;
        date_->setText(locale.toString(QDate(m.year, m.month, m.day), QLocale::ShortFormat));
        time_->setText(locale.toString(QTime(m.hour, m.minute, m.second), longTimeFormat(locale)));
    }
    if (report.name)
        name_->setText(utf8(*report.name));
    if (report.type)
        type_->setText(utf8(*report.type));
    if (report.bits)
        bits_->setText(utf8(*report.bits));
}

} // namespace px
