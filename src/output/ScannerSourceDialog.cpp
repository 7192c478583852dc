#include "output/ScannerSourceDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace px {

ScannerSourceDialog::ScannerSourceDialog(const std::vector<ScannerDevice>& devices, const std::string& current,
                                         QWidget* parent)
    : QDialog(parent), devices_(devices)
{
    setObjectName(QStringLiteral("ScannerSourceDialog"));
    setWindowTitle(QStringLiteral("Sélection de la source"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBox1"));
    for (const ScannerDevice& d : devices_) {
        const QString name = QString::fromStdString(d.name);
        list_->addItem(
            d.description.empty() ? name : QStringLiteral("%1 (%2)").arg(QString::fromStdString(d.description), name));
    }
    int selected = 0;
    for (std::size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i].name == current)
            selected = int(i);
    list_->setCurrentRow(selected);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(420, 240);
}

std::string ScannerSourceDialog::chosenDevice() const
{
    const int row = list_->currentRow();
    return row >= 0 && row < int(devices_.size()) ? devices_[std::size_t(row)].name : std::string();
}

} // namespace px
