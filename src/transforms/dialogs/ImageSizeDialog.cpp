#include "transforms/dialogs/ImageSizeDialog.h"

#include "platform/qt/DialogButtons.h"
#include "transforms/dialogs/DialogFields.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <climits>

namespace px {

ImageSizeDialog::ImageSizeDialog(const EffectCommand& command, const QString& title, bool emptyIsZero, QWidget* parent)
    : EffectDialog(command, parent), emptyIsZero_(emptyIsZero)
{
    setWindowTitle(title);
    auto* layout = new QHBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Taille de l'image"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    width_ = new DigitSpinBox(QStringLiteral("Edit1"), 0, INT_MAX, 0, group);
    height_ = new DigitSpinBox(QStringLiteral("Edit2"), 0, INT_MAX, 0, group);
    auto* widthLabel = new QLabel(QStringLiteral("Largeur"), group);
    widthLabel->setObjectName(QStringLiteral("Label1"));
    auto* heightLabel = new QLabel(QStringLiteral("Hauteur"), group);
    heightLabel->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(heightLabel, 1, 0);
    grid->addWidget(height_, 1, 1);
    layout->addWidget(group);
    auto* buttons = new QVBoxLayout;
    const auto [ok, cancel] = makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    resize(251, 111);
}

void ImageSizeDialog::load(const Bitmap& document, const EffectContext&)
{
    width_->setValue(document.width());
    height_->setValue(document.height());
}

int ImageSizeDialog::read(const DigitSpinBox* edit) const
{
    const QString text = edit->typedText();
    if (text.isEmpty() && emptyIsZero_)
        return 0;
    return integerFromText(text);
}

std::vector<int> ImageSizeDialog::acceptedValues() const
{
    const int height = read(height_);
    const int width = read(width_);
    return {width, height};
}

} // namespace px
