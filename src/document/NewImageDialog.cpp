#include "document/NewImageDialog.h"

#include "document/ImageWindow.h"
#include "document/NewImageChoices.h"
#include "document/Session.h"
#include "platform/Prompter.h"
#include "platform/SettingsFile.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

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

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y)
{
    auto* l = new QLabel(utf8(caption), parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const char* initial, int maxLength, int x, int y)
{
    auto* e = new QLineEdit(QLatin1String(initial), parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    e->setGeometry(x, y, 60, 22);
    return e;
}

QComboBox* comboBox(QWidget* parent, const char* name, int x, int y)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setGeometry(x, y, 226, 24);
    return c;
}

void frame(QWidget* parent, int x, int y, int w, int h)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->setGeometry(x, y, w, h);
}
} // namespace

NewImageDialog::NewImageDialog(Session& session, SettingsFile& settings, QWidget* parent)
    : QDialog(parent), session_(session), settings_(settings)
{
    setWindowTitle(QStringLiteral("Nouveau..."));
    setFixedSize(kClientWidth, kClientHeight);

    frame(this, 8, 22, 242, 96);
    frame(this, 8, 142, 242, 98);

    label(this, "Label1", "Dimensions de l'image", 12, 4);
    label(this, "Label2", "Largeur", 18, 32);
    edit1_ = edit(this, "Edit1", kDefaultWidth, 4, 108, 28);
    label(this, "Label10", "Pixels", 176, 32);
    label(this, "Label3", "Hauteur", 18, 60);
    edit2_ = edit(this, "Edit2", kDefaultHeight, 4, 108, 56);
    label(this, "Label12", "Pixels", 176, 60);
    label(this, "Label4", "Résolution", 18, 88);
    edit3_ = edit(this, "Edit3", "72", 2, 108, 84);
    label(this, "Label11", "Pixels/pouce", 176, 88);

    label(this, "Label5", "Caractéristique de l'image", 12, 124);
    label(this, "Label6", "Couleur de fond", 18, 148);
    comboBox3_ = comboBox(this, "ComboBox3", 16, 164);
    comboBox3_->setEditText(QLatin1String(kDefaultBackground));
    label(this, "Label7", "Type d'image", 18, 192);
    comboBox4_ = comboBox(this, "ComboBox4", 16, 208);
    for (const ImageType& t : imageTypes())
        comboBox4_->addItem(QLatin1String(t.text));
    comboBox4_->setEditText(QLatin1String(kDefaultType));
    typeChanged();
    connect(comboBox4_, &QComboBox::currentTextChanged, this, &NewImageDialog::typeChanged);

    label(this, "Label8", "Mémoire requise :", 12, 246);
    label9_ = label(this, "Label9", "", 120, 246);
    label9_->setMinimumWidth(120);

    button1_ = new QPushButton(QStringLiteral("&OK"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setGeometry(92, 262, 75, 24);
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &NewImageDialog::okClicked);
    auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setGeometry(175, 262, 75, 24);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (QLineEdit* e : {edit1_, edit2_, edit3_})
        e->installEventFilter(this);

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

// Only the digits and Backspace reach the size fields; keys without text
// (arrows, Delete) edit as usual.
bool NewImageDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) {
            const QChar c = typed.front();
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (typed.size() != 1 || !(digit || c == QLatin1Char('\b')))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace px
