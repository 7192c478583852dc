#include "tools/dialogs/TextDialog.h"

#include "platform/Prompter.h"
#include "platform/qt/QtGlyphRasteriser.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace px {

namespace {
QString utf8(const char* s)
{
    return QString::fromUtf8(s);
}

QColor toQColor(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
} // namespace

TextDialog::TextDialog(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("TForm20"));
    setWindowTitle(utf8("Texte..."));
    resize(325, 241);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(utf8("Entrer le texte à insérer :"), this));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    layout->addWidget(edit_);
    layout->addWidget(new QLabel(utf8("Aperçu du texte"), this));
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("RichEdit1"));
    preview_->setWordWrap(false);
    preview_->setAutoFillBackground(true);
    preview_->setFrameShape(QFrame::StyledPanel);
    preview_->setMinimumHeight(48);
    preview_->setTextFormat(Qt::PlainText);
    layout->addWidget(preview_);

    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(utf8("Couleur de\nl'aperçu :"), this);
    row->addWidget(caption);
    background_ = new QComboBox(this);
    background_->setObjectName(QStringLiteral("ComboBox1"));
    background_->setToolTip(utf8("Fond de l'aperçu"));
    background_->addItems({QStringLiteral("Blanc"), QStringLiteral("Noir"), QStringLiteral("Normal")});
    background_->setCurrentIndex(2);
    row->addWidget(background_);
    row->addStretch();
    auto* font = new QPushButton(utf8("&Police ..."), this);
    font->setObjectName(QStringLiteral("Button3"));
    row->addWidget(font);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(utf8("&OK"), this);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(utf8("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, [this] {
        emit cancelPressed();
        reject();
    });
    connect(font, &QPushButton::clicked, this, &TextDialog::chooseFont);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        session_.toolOptions.text = text.toStdString();
        updatePreview();
    });
    connect(background_, &QComboBox::currentIndexChanged, this, &TextDialog::updatePreview);
    updatePreview();
}

void TextDialog::activate()
{
    session_.toolOptions.font.colour = session_.mainColour;
    updatePreview();
}

void TextDialog::chooseFont()
{
    if (const std::optional<FontSpec> chosen = session_.prompter.chooseFont(session_.toolOptions.font))
        session_.toolOptions.font = *chosen;
    session_.toolOptions.font.colour = session_.mainColour;
    updatePreview();
}

QString TextDialog::previewText() const
{
    return preview_->text();
}

// "Blanc", "Noir", or "Normal": the colour of the menus.
QColor TextDialog::previewBackground() const
{
    switch (background_->currentIndex()) {
    case 0:
        return Qt::white;
    case 1:
        return Qt::black;
    default:
        return QApplication::palette().color(QPalette::Window);
    }
}

void TextDialog::updatePreview()
{
    preview_->setText(edit_->text());
    preview_->setFont(QtGlyphRasteriser::toQFont(session_.toolOptions.font));
    QPalette palette = preview_->palette();
    palette.setColor(QPalette::Window, previewBackground());
    palette.setColor(QPalette::WindowText, toQColor(session_.toolOptions.font.colour));
    preview_->setPalette(palette);
}

void TextDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
}

} // namespace px
