#include "transforms/dialogs/GradientDialog.h"

#include "platform/Prompter.h"
#include "platform/qt/DialogButtons.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace px {

namespace {

// The combo box lists the styles by name; each name has its style number.
struct StyleItem {
    const char* name;
    GradientStyle style;
};
constexpr StyleItem kItems[] = {
    {"Elliptic", GradientStyle::Elliptic},     {"HorizCentre", GradientStyle::HorizCentre},
    {"Horizontal", GradientStyle::Horizontal}, {"Radial1", GradientStyle::Radial1},
    {"Radial2", GradientStyle::Radial2},       {"Rectangle", GradientStyle::Rectangle},
    {"VertCentre", GradientStyle::VertCentre}, {"Vertical", GradientStyle::Vertical},
};

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

// Image1: the preview bitmap at its own size.
class GradientPreview : public QWidget {
public:
    explicit GradientPreview(QWidget* parent)
        : QWidget(parent), bitmap_(GradientDialog::kPreviewWidth, GradientDialog::kPreviewHeight, 24)
    {
        setObjectName(QStringLiteral("Image1"));
        setFixedSize(GradientDialog::kPreviewWidth, GradientDialog::kPreviewHeight);
    }
    Bitmap& bitmap() { return bitmap_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), QImage(bitmap_.bits(), bitmap_.width(), bitmap_.height(),
                                               qsizetype(bitmap_.stride()), QImage::Format_BGR888));
    }

private:
    Bitmap bitmap_;
};

GradientDialog::GradientDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent)
    : EffectDialog(command, parent), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Construire degrader..."));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    left->addWidget(namedLabel("Label1", QStringLiteral("Visualisation"), this));
    preview_ = new GradientPreview(this);
    left->addWidget(preview_);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* group = new QGroupBox(QStringLiteral("Caractéristiques"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* controls = new QVBoxLayout(group);
    controls->addWidget(namedLabel("Label2", QStringLiteral("Style"), group));
    style_ = new QComboBox(group);
    style_->setObjectName(QStringLiteral("ComboBox1"));
    for (const StyleItem& item : kItems)
        style_->addItem(QLatin1String(item.name));
    style_->setCurrentText(QStringLiteral("Vertical"));
    controls->addWidget(style_);
    auto* principal = new QPushButton(QStringLiteral("&Principale..."), group);
    principal->setObjectName(QStringLiteral("Button3"));
    auto* background = new QPushButton(QStringLiteral("&Fond..."), group);
    background->setObjectName(QStringLiteral("Button4"));
    for (QPushButton* b : {principal, background}) {
        b->setAutoDefault(false);
        controls->addWidget(b);
    }
    controls->addStretch(1);
    right->addWidget(group);
    const auto [ok, cancel] = makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    right->addWidget(ok);
    right->addWidget(cancel);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(style_, &QComboBox::currentIndexChanged, this, &GradientDialog::render);
    connect(principal, &QPushButton::clicked, this, [this] { chooseColour(start_); });
    connect(background, &QPushButton::clicked, this, [this] { chooseColour(end_); });
    render();
}

GradientStyle GradientDialog::style() const
{
    const int index = style_->currentIndex();
    return index >= 0 ? kItems[index].style : GradientStyle::Vertical;
}

const Bitmap& GradientDialog::preview() const
{
    return preview_->bitmap();
}

void GradientDialog::load(const Bitmap&, const EffectContext& context)
{
    start_ = context.mainColour;
    end_ = context.backgroundColour;
    render();
}

std::vector<int> GradientDialog::acceptedValues() const
{
    return {int(style()), int(start_), int(end_)};
}

void GradientDialog::chooseColour(Colour& colour)
{
    if (const auto chosen = prompter_.chooseColour(colour)) {
        colour = *chosen;
        render();
    }
}

void GradientDialog::render()
{
    renderGradient(preview_->bitmap(), style(), start_, end_);
    preview_->update();
}

} // namespace px
