#include "document/NewImageDialog.h"

#include "document/ImageWindow.h"
#include "document/NewImageChoices.h"
#include "document/Session.h"
#include "platform/Prompter.h"
#include "platform/qt/CharacterFilter.h"
#include "platform/SettingsFile.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include <exception>

namespace px {

namespace {
constexpr const char* kSection = "Nouveau";
constexpr const char* kEmptyFieldMessage = "Pour créer une nouvelle image, vous devez remplir tous les champs.";

QString utf8(const char* s)
{
    return QString::fromUtf8(s);
}
std::string text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}
std::string text(const QComboBox* box)
{
    return box->currentText().toStdString();
}

QLabel* label(QWidget* parent, const char* name, const char* caption)
{
    auto* l = new QLabel(utf8(caption), parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// A size field: wide enough for its longest number with the platform's font.
QLineEdit* edit(QWidget* parent, const char* name, const char* initial, int maxLength)
{
    auto* e = new QLineEdit(QLatin1String(initial), parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    const int digits = e->fontMetrics().horizontalAdvance(QString(std::max(maxLength, 4), QLatin1Char('0')));
    e->setMinimumWidth(digits + e->fontMetrics().averageCharWidth() * 3);
    return e;
}

QComboBox* comboBox(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

// A sunken frame holding a grid of controls.
QGridLayout* framedGrid(QWidget* parent, QVBoxLayout* into)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    into->addWidget(f);
    return new QGridLayout(f);
}
} // namespace

NewImageDialog::NewImageDialog(Session& session, SettingsFile& settings, QWidget* parent)
    : QDialog(parent), session_(session), settings_(settings)
{
    setWindowTitle(QStringLiteral("Nouveau..."));

    // Laid out by the platform's font: every text keeps its room and a margin
    // from the frames and buttons, at any font size and screen scale. The
    // dialog keeps the size of its layout.
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layout->addWidget(label(this, "Label1", "Dimensions de l'image"));
    QGridLayout* dimensions = framedGrid(this, layout);
    dimensions->addWidget(label(this, "Label2", "Largeur"), 0, 0);
    edit1_ = edit(this, "Edit1", kDefaultWidth, 4);
    dimensions->addWidget(edit1_, 0, 1);
    dimensions->addWidget(label(this, "Label10", "Pixels"), 0, 2);
    dimensions->addWidget(label(this, "Label3", "Hauteur"), 1, 0);
    edit2_ = edit(this, "Edit2", kDefaultHeight, 4);
    dimensions->addWidget(edit2_, 1, 1);
    dimensions->addWidget(label(this, "Label12", "Pixels"), 1, 2);
    dimensions->addWidget(label(this, "Label4", "Résolution"), 2, 0);
    edit3_ = edit(this, "Edit3", "72", 2);
    dimensions->addWidget(edit3_, 2, 1);
    dimensions->addWidget(label(this, "Label11", "Pixels/pouce"), 2, 2);
    dimensions->setColumnStretch(2, 1);

    layout->addSpacing(layout->spacing());
    layout->addWidget(label(this, "Label5", "Caractéristique de l'image"));
    QGridLayout* kind = framedGrid(this, layout);
    kind->addWidget(label(this, "Label6", "Couleur de fond"), 0, 0);
    comboBox3_ = comboBox(this, "ComboBox3");
    kind->addWidget(comboBox3_, 1, 0);
    comboBox3_->setEditText(QLatin1String(kDefaultBackground));
    kind->addWidget(label(this, "Label7", "Type d'image"), 2, 0);
    comboBox4_ = comboBox(this, "ComboBox4");
    kind->addWidget(comboBox4_, 3, 0);
    for (const ImageType& t : imageTypes())
        comboBox4_->addItem(QLatin1String(t.text));
    comboBox4_->setEditText(QLatin1String(kDefaultType));
    typeChanged();
    connect(comboBox4_, &QComboBox::currentTextChanged, this, &NewImageDialog::typeChanged);

    // "Mémoire requise :" and the estimate, a space apart, room kept for the
    // longest estimate.
    auto* memory = new QHBoxLayout;
    memory->addWidget(label(this, "Label8", "Mémoire requise :"));
    label9_ = label(this, "Label9", "");
    label9_->setMinimumWidth(label9_->fontMetrics().horizontalAdvance(QStringLiteral("1023 octets")));
    memory->addWidget(label9_, 1);
    layout->addLayout(memory);

    button1_ = new QPushButton(QStringLiteral("&OK"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &NewImageDialog::okClicked);
    auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(button1_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    // Only digits can be typed in the size fields; editing keys and
    // shortcuts work as in any field.
    auto* digitsOnly = new CharacterFilter(isAsciiDigit, this);
    for (QLineEdit* e : {edit1_, edit2_, edit3_})
        e->installEventFilter(digitsOnly);

    // The estimate follows the fields for the whole run of the program.
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kTimerInterval);
    connect(timer1_, &QTimer::timeout, this, &NewImageDialog::timerTick);
    timer1_->start();
}

void NewImageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    formShow();
    button1_->setFocus();
}

void NewImageDialog::formShow()
{
    edit1_->setText(QString::fromStdString(settings_.readString(kSection, "largeur", kDefaultWidth)));
    edit2_->setText(QString::fromStdString(settings_.readString(kSection, "Hauteur", kDefaultHeight)));
    comboBox3_->setEditText(QString::fromStdString(settings_.readString(kSection, "Fond", kDefaultBackground)));
    comboBox4_->setEditText(QString::fromStdString(settings_.readString(kSection, "Type", kDefaultType)));
    if (comboBox3_->currentText().isEmpty())
        comboBox3_->setEditText(QLatin1String(kDefaultBackground));
    if (comboBox4_->currentText().isEmpty())
        comboBox4_->setEditText(QLatin1String(kDefaultType));
    typeChanged();
}

void NewImageDialog::typeChanged()
{
    const std::string type = text(comboBox4_);
    const auto offered = coloursOfferedFor(type);
    if (!offered)
        return;
    QString colour = comboBox3_->currentText();
    if (bitsPerPixelFor(type) == 1)
        colour = QLatin1String(kDefaultBackground);
    const QSignalBlocker blocker(comboBox3_);
    comboBox3_->clear();
    for (const std::string& name : *offered)
        comboBox3_->addItem(QString::fromStdString(name));
    comboBox3_->setEditText(colour);
}

void NewImageDialog::timerTick()
{
    if (!bitsPerPixelFor(text(comboBox4_)))
        return;
    const std::string estimate = memoryEstimateText(numberOrZero(text(edit1_)), numberOrZero(text(edit2_)));
    label9_->setText(QString::fromStdString(estimate));
}

ImageWindow* NewImageDialog::okClicked()
{
    if (edit1_->text().isEmpty() || edit2_->text().isEmpty() || edit3_->text().isEmpty() ||
        comboBox3_->currentText().isEmpty() || comboBox4_->currentText().isEmpty()) {
        session_.prompter.message(kEmptyFieldMessage, std::string(), MessageKind::Information);
        return nullptr;
    }
    if (!createWindow)
        return nullptr;
    // A pasted negative number makes an empty image, as 0 does.
    const int width = int(std::max(0LL, numberOrZero(text(edit1_))));
    const int height = int(std::max(0LL, numberOrZero(text(edit2_))));
    ImageWindow* image = nullptr;
    try {
        image = createWindow(width, height);
    } catch (const std::exception& e) {
        session_.prompter.error(e.what());
        return nullptr;
    }
    if (!image)
        return nullptr;

    // The fill goes through the document canvas, whose pen and brush keep
    // the colour afterwards; the depth is set after the fill.
    if (const auto colour = backgroundColourFor(text(comboBox3_), session_.mainColour, session_.backgroundColour)) {
        Canvas& canvas = image->canvas();
        canvas.setPenColour(*colour);
        canvas.setBrushColour(*colour);
        canvas.rectangle(0, 0, width, height);
    }
    if (const auto bpp = bitsPerPixelFor(text(comboBox4_)))
        image->document().setPixelFormat(*bpp);
    image->documentChanged();

    try {
        settings_.writeString(kSection, "largeur", text(edit1_));
        settings_.writeString(kSection, "Hauteur", text(edit2_));
        settings_.writeString(kSection, "Fond", text(comboBox3_));
        settings_.writeString(kSection, "Type", text(comboBox4_));
    } catch (const std::exception& e) {
        session_.prompter.error(e.what());
        return image;
    }
    accept();
    return image;
}

} // namespace px
