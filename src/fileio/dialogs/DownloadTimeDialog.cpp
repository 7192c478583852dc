#include "fileio/dialogs/DownloadTimeDialog.h"

#include "fileio/ImageInformation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace px {

namespace {

struct Row {
    const char* caption;
    const char* defaultRate;
};

constexpr Row kRowsText[DownloadTimeDialog::kRows] = {
    {"Modem 33K :", "2"},
    {"Modem 56K :", "5"},
    {"ADSL :", "128"},
    {"T1 :", "1024"},
};

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

DownloadTimeDialog::DownloadTimeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Temps de téléchargements..."));

    // Digits only, typed or pasted; backspace and the other editing keys work.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);

    auto* grid = new QGridLayout;
    for (int i = 0; i < kRows; ++i) {
        const QString n = QString::number(i + 1);
        grid->addWidget(label(this, QStringLiteral("Label") + n, QString::fromUtf8(kRowsText[i].caption)), i, 0);
        results_[std::size_t(i)] = label(this, QStringLiteral("Label%1").arg(i + 5), QStringLiteral("0 s"));
        results_[std::size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        results_[std::size_t(i)]->setMinimumWidth(70);
        grid->addWidget(results_[std::size_t(i)], i, 1);
        grid->addWidget(label(this, QStringLiteral("Label%1").arg(i + 9), QStringLiteral("pour")), i, 2);
        auto* rate = new QLineEdit(QString::fromLatin1(kRowsText[i].defaultRate), this);
        rate->setObjectName(QStringLiteral("Edit") + n);
        rate->setValidator(digits);
        rate->setMaximumWidth(70);
        rates_[std::size_t(i)] = rate;
        grid->addWidget(rate, i, 3);
        grid->addWidget(label(this, QStringLiteral("Label%1").arg(i + 13), QStringLiteral("Ko/s")), i, 4);
        connect(rate, &QLineEdit::textChanged, this, [this, i] { recompute(i); });
    }

    size_ = label(this, QStringLiteral("Label17"), QStringLiteral("0"));
    size_->hide();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DownloadTimeDialog::report(std::uint64_t bytes)
{
    size_->setText(QString::number(bytes));
    for (int i = 0; i < kRows; ++i)
        recompute(i);
}

void DownloadTimeDialog::recompute(int row)
{
    const std::uint64_t bytes = size_->text().toULongLong();
    const std::string rate = rates_[std::size_t(row)]->text().toStdString();
    results_[std::size_t(row)]->setText(QString::fromStdString(downloadTimeText(bytes, rate)));
}

} // namespace px
