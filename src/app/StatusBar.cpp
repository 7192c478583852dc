#include "app/StatusBar.h"

#include <QLabel>

#include <algorithm>

namespace px {

const QString StatusBar::kHelpText = QStringLiteral("Pour obtenir de l'aide, appuyez sur F1");

namespace {
// Panel widths in pixels; the position panel is a minimum, it grows with its text.
constexpr std::array<int, StatusBar::kPanelCount> kPanelWidths = {275, 295, 120, 50};

// The narrowest a panel gets when the window is too narrow for the widths
// above (a screen scaled to 2 is 640 pixels wide for the toolkit).
constexpr int kNarrowestPanel = 24;

// A panel of the width it is given while the status bar has room for it,
// narrower (its text cut) only when the window is narrower than the panels.
class Panel : public QLabel {
public:
    Panel(const QString& text, QWidget* parent) : QLabel(text, parent) {}
    void setPreferredWidth(int width) { width_ = width; }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return QSize(std::max(width_, maximumWidth() < QWIDGETSIZE_MAX ? 0 : text.width()), text.height());
    }
    QSize minimumSizeHint() const override { return QSize(kNarrowestPanel, QLabel::minimumSizeHint().height()); }

private:
    int width_ = 0;
};

QLabel* makePanel(QWidget* parent, const QString& name, const QString& text, int width = 0)
{
    auto* label = new Panel(text, parent);
    label->setPreferredWidth(width);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    simple_ = makePanel(this, QStringLiteral("SimpleText"), kHelpText);
    simple_->setFrameShape(QFrame::NoFrame);
    addWidget(simple_, 1);

    const std::array<QString, kPanelCount> startTexts = {kHelpText, QString(), QStringLiteral("Ligne actif"),
                                                         QStringLiteral("Position :(0,0)")};
    for (int i = 0; i < kPanelCount; ++i) {
        panels_[i] = makePanel(this, QStringLiteral("StatusPanel%1").arg(i), startTexts[i], kPanelWidths[i]);
        if (i + 1 < kPanelCount)
            panels_[i]->setMaximumWidth(kPanelWidths[i]);
        addWidget(panels_[i], i + 1 == kPanelCount ? 1 : 0);
        panels_[i]->hide();
    }
}

void StatusBar::setPanelMode(bool panels)
{
    panelMode_ = panels;
    simple_->setVisible(!panels);
    for (QLabel* p : panels_)
        p->setVisible(panels);
}

QString StatusBar::simpleText() const
{
    return simple_->text();
}

void StatusBar::setSimpleText(const QString& text)
{
    simple_->setText(text);
}

QString StatusBar::panelText(int index) const
{
    return index >= 0 && index < kPanelCount ? panels_[index]->text() : QString();
}

void StatusBar::setPanelText(int index, const QString& text)
{
    if (index >= 0 && index < kPanelCount)
        panels_[index]->setText(text);
}

void StatusBar::showHint(const QString& hint)
{
    const QString text = hint.isEmpty() ? kHelpText : hint;
    if (panelMode_)
        panels_[0]->setText(text);
    else
        simple_->setText(text);
}

} // namespace px
