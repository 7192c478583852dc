#include "app/TipOfTheDayDialog.h"

#include "document/Session.h"
#include "platform/Prompter.h"
#include "platform/SettingsFile.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace px {

TipOfTheDayDialog::TipOfTheDayDialog(Session& session, SettingsFile& settings, const QString& tipsFile, QWidget* parent)
    : QDialog(parent), session_(session), settings_(settings)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Astuce du jour..."));
    setFixedSize(345, 265);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QIcon(QStringLiteral(":/icons/astuce.svg")).pixmap(48, 48));
    image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(QStringLiteral("Le saviez-vous ?"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setFocusPolicy(Qt::NoFocus);
    memo_->viewport()->setAutoFillBackground(false);

    checkBox_ = new QCheckBox(QStringLiteral("Voir l'astuce au démarrage"), this);
    checkBox_->setObjectName(QStringLiteral("CheckBox1"));

    auto* close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setDefault(true);
    auto* other = new QPushButton(QStringLiteral("&Autre"), this);
    other->setObjectName(QStringLiteral("Button2"));
    connect(close, &QPushButton::clicked, this, &TipOfTheDayDialog::closeButtonClicked);
    connect(other, &QPushButton::clicked, this, &TipOfTheDayDialog::nextTip);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(memo_, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(image);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(other);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(checkBox_);
    layout->addLayout(buttons);

    QFile file(tipsFile);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString all = QString::fromUtf8(file.readAll());
        tips_ = all.split(QLatin1Char('\n'));
        // A final line end does not start another tip.
        if (!tips_.isEmpty() && tips_.last().isEmpty())
            tips_.removeLast();
        for (QString& tip : tips_)
            if (tip.endsWith(QLatin1Char('\r')))
                tip.chop(1);
    } else {
        session_.prompter.error("Impossible d'ouvrir le fichier \"" + tipsFile.toStdString() + "\".");
    }
    session_.random.seedFromClock();
    tipIndex_ = 1;
}

QString TipOfTheDayDialog::shownTip() const
{
    return memo_->toPlainText();
}

bool TipOfTheDayDialog::showAtStartup() const
{
    return checkBox_->isChecked();
}

void TipOfTheDayDialog::setShowAtStartup(bool show)
{
    checkBox_->setChecked(show);
}

void TipOfTheDayDialog::chooseRandomTip()
{
    if (tips_.isEmpty())
        return;
    tipIndex_ = session_.random.random(int(tips_.size()));
    showTip();
}

// With no tips there is nothing to move to; the memo stays empty.
void TipOfTheDayDialog::nextTip()
{
    if (tips_.isEmpty())
        return;
    tipIndex_ = (tipIndex_ + 1) % int(tips_.size());
    showTip();
}

void TipOfTheDayDialog::showTip()
{
    memo_->setPlainText(tipIndex_ >= 0 && tipIndex_ < tips_.size() ? tips_[tipIndex_] : QString());
}

void TipOfTheDayDialog::closeButtonClicked()
{
    try {
        settings_.writeString("Astuces", "Demarrage", checkBox_->isChecked() ? "1" : "0");
    } catch (const std::exception& e) {
        session_.prompter.error(e.what());
        return;
    }
    accept();
}

void TipOfTheDayDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    chooseRandomTip();
}

} // namespace px
