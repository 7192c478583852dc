#include "fileio/dialogs/FileAssociationsDialog.h"

#include "fileio/FileAssociations.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"
#include "platform/qt/DialogButtons.h"
#include "platform/SettingsFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace px {

namespace {
QLabel* label(QWidget* parent, const char* name, const char* text)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QLatin1String(name));
    return l;
}
} // namespace

FileAssociationsDialog::FileAssociationsDialog(SettingsFile& settings, std::unique_ptr<FileTypeStore> store,
                                               Prompter& prompter, std::string executable, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(std::move(store)), prompter_(prompter),
      executable_(std::move(executable))
{
    setObjectName(QStringLiteral("TForm23"));
    setWindowTitle(QStringLiteral("Formats associés..."));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("CheckListBox1"));
    for (const AssociationRow& row : associationRows()) {
        auto* item = new QListWidgetItem(QString::fromStdString(associationItemText(row)), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    pattern_ = label(this, "Label4", "");
    // CheckListBox1Click: the pattern of the selected item.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        const auto rows = associationRows();
        if (row >= 0 && row < int(rows.size()))
            pattern_->setText(QString::fromStdString(associationPattern(rows[std::size_t(row)])));
    });

    const auto [ok, cancel] =
        makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"), /*okAccepts=*/false);
    connect(ok, &QPushButton::clicked, this, &FileAssociationsDialog::okClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(this, "Label1", "Sélections des fichiers associés"));
    layout->addWidget(label(this, "Label2", "au programme Pixoran 3"));
    layout->addWidget(list_);
    layout->addWidget(label(this, "Label3", "Extension utilisé par ce fichier :"));
    layout->addWidget(pattern_);
    layout->addLayout(buttons);
    list_->setMinimumHeight(list_->sizeHintForRow(0) * int(associationRows().size()) + 2 * list_->frameWidth());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FileAssociationsDialog::formShow()
{
    const std::vector<bool> ticks = associatedInSettings(settings_);
    for (int i = 0; i < list_->count(); ++i)
        list_->item(i)->setCheckState(ticks[std::size_t(i)] ? Qt::Checked : Qt::Unchecked);
}

void FileAssociationsDialog::okClicked()
{
    std::unique_ptr<bool[]> ticked(new bool[std::size_t(list_->count())]);
    for (int i = 0; i < list_->count(); ++i)
        ticked[std::size_t(i)] = list_->item(i)->checkState() == Qt::Checked;
    try {
        BusyCursor wait;
        applyAssociations(std::span<const bool>(ticked.get(), std::size_t(list_->count())), executable_, settings_,
                          *store_);
    } catch (const std::exception& e) {
        prompter_.error(e.what());
        return;
    }
    accept();
}

} // namespace px
