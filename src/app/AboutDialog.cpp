#include "app/AboutDialog.h"

#include "app/ShellCommands.h"
#include "document/Session.h"
#include "platform/ShellServices.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace px {

namespace {
// The credit, scrambled; only the first five characters count.
constexpr std::string_view kStoredCredit = "YX[Uf4D#q";
constexpr int kCreditLength = 5;
constexpr int kScrambleOffset = 20;

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}
} // namespace

QString decodeCredit(std::string_view stored)
{
    QString credit;
    for (std::size_t i = 0; i < stored.size() && i < std::size_t(kCreditLength); ++i)
        credit += QChar(char16_t(static_cast<unsigned char>(stored[i]) - kScrambleOffset));
    return credit;
}

AboutDialog::AboutDialog(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("A propos..."));
    setFixedSize(324, 205);

    // The name twice: a blue copy with a black one drawn over it, shifted by
    // two pixels, for a shadowed title.
    auto* title = new QWidget(this);
    title->setFixedHeight(72);
    QFont big(QStringLiteral("Arial Black"));
    big.setPointSize(48);
    big.setWeight(QFont::Black);
    // Where that face is missing the substitute may be wider: shrink it until
    // the name fits the window.
    while (big.pointSize() > 12 && QFontMetrics(big).horizontalAdvance(QStringLiteral("Pixoran3")) > 296)
        big.setPointSize(big.pointSize() - 2);
    QLabel* blue = label(title, "Label1", QStringLiteral("Pixoran3"));
    blue->setFont(big);
    blue->setStyleSheet(QStringLiteral("color: #0000ff"));
    QLabel* black = label(title, "Label6", QStringLiteral("Pixoran3"));
    black->setFont(big);
    black->setAttribute(Qt::WA_TranslucentBackground);
    black->setStyleSheet(QStringLiteral("color: #000000; background: transparent"));
    for (QLabel* l : {blue, black}) {
        l->setAlignment(Qt::AlignCenter);
        l->setFixedSize(304, 72);
    }
    blue->move(2, 2);
    black->move(0, 0);

    QLabel* rights = label(this, "Label2", QStringLiteral("Tous droits réservés."));
    QLabel* by = label(this, "Label3", QStringLiteral("programmé par"));
    credit_ = label(this, "Label4", decodeCredit(kStoredCredit));
    credit_->installEventFilter(this);
    link_ = label(this, "Label5", QStringLiteral("www.pixoran3.example"));
    link_->setCursor(Qt::PointingHandCursor);
    link_->installEventFilter(this);
    QLabel* version = label(this, "Label7", QStringLiteral("version 1.4"));
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(rights, 0, 0, 1, 2);
    grid->addWidget(by, 1, 0);
    grid->addWidget(credit_, 1, 1);
    grid->addWidget(link_, 2, 0);
    grid->addWidget(version, 2, 1, Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setLinkHighlighted(false);
}

QString AboutDialog::credit() const { return credit_->text(); }

void AboutDialog::openWebSite() { session_.shell.openUrl(kWebSite); }

void AboutDialog::setLinkHighlighted(bool on)
{
    highlighted_ = on;
    link_->setStyleSheet(on ? QStringLiteral("color: #0000ff; text-decoration: underline")
                            : QStringLiteral("color: #ff0000; text-decoration: underline"));
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == link_) {
        if (event->type() == QEvent::Enter)
            setLinkHighlighted(true);
        else if (event->type() == QEvent::Leave)
            setLinkHighlighted(false);
        else if (event->type() == QEvent::MouseButtonRelease)
            openWebSite();
    } else if (watched == credit_ && event->type() == QEvent::Enter) {
        setLinkHighlighted(false);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace px
