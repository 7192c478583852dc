#include "tools/dialogs/ColourPanel.h"

#include "document/ImageWindow.h"
#include "graphics/HueChart.h"
#include "platform/Prompter.h"
#include "tools/dialogs/PaletteWindow.h"

#include <QBitmap>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <functional>

// Resources of a static library are registered by hand.
static void initCursorResources()
{
    Q_INIT_RESOURCE(cursors);
}

namespace px {

namespace {

QColor qcolour(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

void paintSwatch(QWidget* swatch, Colour c)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, qcolour(c));
    swatch->setPalette(pal);
    swatch->update();
}

// The eye-dropper cursor; its tip, the hot spot, is the bottom-left pixel.
QCursor eyeDropperCursor()
{
    initCursorResources();
    const QPixmap pixmap(QStringLiteral(":/cursors/eyedrop.xpm"));
    if (pixmap.isNull())
        return QCursor(Qt::CrossCursor);
    return QCursor(pixmap, 0, pixmap.height() - 1);
}

// The spectrum picture in its bevel; reports presses and moves in spectrum
// coordinates.
class SpectrumView : public QFrame {
public:
    SpectrumView(const Bitmap& spectrum, QWidget* parent) : QFrame(parent), spectrum_(spectrum)
    {
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setLineWidth(1);
        setFixedSize(spectrum.width() + 1, spectrum.height() + 1);
        setMouseTracking(true);
    }
    std::function<void(QPoint, Qt::MouseButtons)> onPress;
    std::function<void(QPoint)> onMove;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QFrame::paintEvent(e);
        const QImage image(spectrum_.bits(), spectrum_.width(), spectrum_.height(), qsizetype(spectrum_.stride()),
                           QImage::Format_BGR888);
        QPainter(this).drawImage(0, 0, image);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (onPress)
            onPress(e->position().toPoint(), e->buttons());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (onMove)
            onMove(e->position().toPoint());
    }

private:
    const Bitmap& spectrum_;
};

QWidget* framedSwatch(QWidget* parent, const char* frameName, const char* swatchName, QPoint at, QWidget** frameOut)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(frameName));
    frame->setGeometry(at.x(), at.y(), 26, 26);
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, Qt::black);
    frame->setPalette(pal);
    auto* swatch = new QWidget(frame);
    swatch->setObjectName(QString::fromLatin1(swatchName));
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(1, 1, 24, 24);
    frame->setMouseTracking(true);
    swatch->setMouseTracking(true);
    *frameOut = frame;
    return swatch;
}

QLabel* clickableLabel(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// The reset icon: a small black square over a white one.
QPixmap resetIcon()
{
    QPixmap pixmap(13, 13);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 4, 8, 8);
    p.setBrush(Qt::black);
    p.drawRect(0, 0, 8, 8);
    return pixmap;
}

} // namespace

QString colourValuesText(Colour colour)
{
    return QStringLiteral("R : %1\nV : %2\nB : %3").arg(redOf(colour)).arg(greenOf(colour)).arg(blueOf(colour));
}

QString swatchHintText(const QString& title, Colour colour)
{
    return title + QLatin1Char('\n') + colourValuesText(colour) + QLatin1Char('\n') +
           QString::fromStdString(colourHexText(colour));
}

ColourPanel::ColourPanel(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), spectrum_(makeSpectrum())
{
    setObjectName("Panel3");
    setFixedWidth(kWidth);
    const QCursor eyeDropper = eyeDropperCursor();

    auto* spectrumView = new SpectrumView(spectrum_, this);
    spectrumView->setObjectName("Palette");
    spectrumView->move(10, 6);
    spectrumView->setCursor(eyeDropper);
    spectrumView->onPress = [this](QPoint p, Qt::MouseButtons b) { spectrumPressed(p, b); };
    spectrumView->onMove = [this](QPoint p) { showReadOut(spectrumColour(p.x(), p.y())); };
    palette_ = spectrumView;

    // Panel4 first so that Panel5 (the main colour) lies over it.
    panel8_ = framedSwatch(this, "Panel4", "Panel8", QPoint(18, 122), &panel4_);
    panel7_ = framedSwatch(this, "Panel5", "Panel7", QPoint(7, 110), &panel5_);
    for (QWidget* w : {panel4_, panel5_, panel7_, panel8_}) {
        w->setCursor(eyeDropper);
        w->installEventFilter(this);
    }

    auto* label1 = clickableLabel(this, "Label1", QString::fromUtf8("↑"), QRect(47, 122, 13, 13));
    auto* label8 = clickableLabel(this, "Label8", QString::fromUtf8("→"), QRect(5, 138, 13, 13));
    auto* imagenb = clickableLabel(this, "Imagenb", QString(), QRect(47, 107, 13, 13));
    imagenb->setPixmap(resetIcon());
    for (QWidget* w : {static_cast<QWidget*>(label1), static_cast<QWidget*>(label8), static_cast<QWidget*>(imagenb)})
        w->installEventFilter(this);

    auto* readOut = new QFrame(this);
    readOut->setObjectName("GroupBoxReadOut");
    readOut->setFrameShape(QFrame::StyledPanel);
    readOut->setGeometry(3, 156, 60, 96);
    label2_ = new QLabel(QStringLiteral("R :"), readOut);
    label2_->setObjectName("Label2");
    label2_->setGeometry(4, 2, 54, 42);
    label2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* shape3 = new QFrame(readOut);
    shape3->setObjectName("Shape3");
    shape3->setFrameShape(QFrame::Box);
    shape3->setGeometry(13, 46, 34, 26);
    panel6_ = new QWidget(shape3);
    panel6_->setObjectName("Panel6");
    panel6_->setAutoFillBackground(true);
    panel6_->setGeometry(1, 1, 32, 24);
    label9_ = new QLabel(QStringLiteral("#000000"), readOut);
    label9_->setObjectName("Label9");
    label9_->setGeometry(2, 75, 56, 16);
    label9_->setAlignment(Qt::AlignCenter);
    paintSwatch(panel6_, kBlack);

    paletteWindow_ = new PaletteWindow(session_.prompter, this);

    setSwatchesEnabled(false);
    updateSwatches();
}

ColourPanel::~ColourPanel() = default;

void ColourPanel::setMainColour(Colour colour)
{
    session_.mainColour = colour;
    updateSwatches();
}

void ColourPanel::setBackgroundColour(Colour colour)
{
    session_.backgroundColour = colour;
    updateSwatches();
}

void ColourPanel::refresh()
{
    updateSwatches();
}

void ColourPanel::updateSwatches()
{
    paintSwatch(panel7_, session_.mainColour);
    paintSwatch(panel8_, session_.backgroundColour);
}

void ColourPanel::swapColours()
{
    std::swap(session_.mainColour, session_.backgroundColour);
    updateSwatches();
}

void ColourPanel::resetColours()
{
    session_.mainColour = kBlack;
    session_.backgroundColour = kWhite;
    updateSwatches();
}

void ColourPanel::showReadOut(Colour colour)
{
    paintSwatch(panel6_, colour);
    label2_->setText(colourValuesText(colour));
    label9_->setText(QString::fromStdString(colourHexText(colour)));
}

void ColourPanel::initialiseReadOut()
{
    label2_->setText(colourValuesText(kBlack));
}

void ColourPanel::setSwatchesEnabled(bool enabled)
{
    panel7_->setEnabled(enabled);
    panel8_->setEnabled(enabled);
}

void ColourPanel::spectrumPressed(QPoint pos, Qt::MouseButtons buttons)
{
    const Colour c = spectrumColour(pos.x(), pos.y());
    if (buttons & Qt::LeftButton)
        session_.mainColour = c;
    if (buttons & Qt::RightButton)
        session_.backgroundColour = c;
    updateSwatches();
}

void ColourPanel::chooseMainColour()
{
    choose(true);
}

void ColourPanel::chooseBackgroundColour()
{
    choose(false);
}

// A true-colour image (or none) takes any colour from the colour dialog; an
// indexed image offers its palette window, which sets both colours on OK.
void ColourPanel::choose(bool mainSwatch)
{
    ImageWindow* image = activeImage ? activeImage() : nullptr;
    const int depth = image ? image->document().bitsPerPixel() : 24;
    if (depth == 24) {
        Colour& target = mainSwatch ? session_.mainColour : session_.backgroundColour;
        if (const auto chosen = session_.prompter.chooseColour(target))
            target = *chosen;
        updateSwatches();
        return;
    }
    paletteWindow_->setColours(session_.mainColour, session_.backgroundColour);
    if (paletteWindow_->exec() == QDialog::Accepted) {
        session_.mainColour = paletteWindow_->mainColour();
        session_.backgroundColour = paletteWindow_->backgroundColour();
        updateSwatches();
    }
}

bool ColourPanel::eventFilter(QObject* watched, QEvent* event)
{
    const QString name = watched->objectName();
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::ToolTip || type == QEvent::Enter) {
        // The hints follow the colours, so they are rebuilt as the mouse moves.
        if (watched == panel5_ || watched == panel7_)
            panel5_->setToolTip(swatchHintText(QStringLiteral("Couleur principale"), session_.mainColour));
        else if (watched == panel4_ || watched == panel8_)
            panel4_->setToolTip(swatchHintText(QStringLiteral("Couleur de fond"), session_.backgroundColour));
    }
    if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            return false;
        if (name == QLatin1String("Label1") || name == QLatin1String("Label8")) {
            swapColours();
            return true;
        }
        if (name == QLatin1String("Imagenb")) {
            resetColours();
            return true;
        }
        if (watched == panel7_ && panel7_->isEnabled()) {
            chooseMainColour();
            return true;
        }
        if (watched == panel8_ && panel8_->isEnabled()) {
            chooseBackgroundColour();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace px
