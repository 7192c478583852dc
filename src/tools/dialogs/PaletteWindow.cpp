#include "tools/dialogs/PaletteWindow.h"

#include "graphics/HalftonePalette.h"
#include "platform/Prompter.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace px {

namespace {

constexpr int kCells = 16;

QColor qcolour(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// The paint box: shows the rendered cells and reports the mouse.
class PaletteBox : public QWidget {
public:
    explicit PaletteBox(PaletteWindow* window) : QWidget(window), window_(window)
    {
        setMouseTracking(true);
        setFixedSize(PaletteWindow::kBoxSide, PaletteWindow::kBoxSide);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, window_->boxImage()); }
    void mouseMoveEvent(QMouseEvent* e) override { window_->showColourAt(e->position().toPoint()); }
    void mousePressEvent(QMouseEvent* e) override { window_->pickAt(e->position().toPoint(), e->button()); }

private:
    PaletteWindow* window_;
};

QWidget* framedSwatch(QWidget* parent, const char* frameName, const char* name, QRect frameRect)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(frameName));
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(frameRect);
    auto* swatch = new QWidget(frame);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(1, 1, frameRect.width() - 2, frameRect.height() - 2);
    return swatch;
}

void paintSwatch(QWidget* swatch, Colour c)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, qcolour(c));
    swatch->setPalette(pal);
}

} // namespace

PaletteWindow::PaletteWindow(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName("TForm19");
    setWindowTitle(QStringLiteral("Palette de couleurs..."));
    setFixedSize(345, 279);
    palette_.colours = halftonePalette();

    auto* shape1 = new QFrame(this);
    shape1->setObjectName("Shape1");
    shape1->setFrameShape(QFrame::Box);
    shape1->setGeometry(7, 7, kBoxSide + 2, kBoxSide + 2);
    box_ = new PaletteBox(this);
    box_->setObjectName("PaintBoxPalette");
    box_->move(8, 8);

    panel1_ = framedSwatch(this, "Shape2", "Panel1", QRect(248, 8, 42, 42));
    panel2_ = framedSwatch(this, "Shape3", "Panel2", QRect(296, 8, 42, 42));

    const char* captions[3] = {"R:", "V:", "B:"};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(QString::fromLatin1(captions[i]), this);
        caption->setGeometry(248, 64 + 18 * i, 20, 16);
        values_[i] = new QLabel(QStringLiteral("0"), this);
        values_[i]->setObjectName(QStringLiteral("Label%1").arg(4 + i));
        values_[i]->setGeometry(272, 64 + 18 * i, 40, 16);
    }
    hex_ = new QLabel(QStringLiteral("#000000"), this);
    hex_->setObjectName("Label7");
    hex_->setGeometry(248, 120, 80, 16);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("BitBtnOk");
    ok->setGeometry(248, 176, 90, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName("BitBtnAnnuler");
    cancel->setGeometry(248, 208, 90, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* open = new QPushButton(QStringLiteral("O&uvrir..."), this);
    open->setObjectName("BitBtnOuvrir");
    open->setGeometry(248, 240, 90, 25);
    connect(open, &QPushButton::clicked, this, &PaletteWindow::openPaletteFile);

    renderBox();
    updateSwatches();
}

void PaletteWindow::setColours(Colour main, Colour background)
{
    main_ = main;
    background_ = background;
    updateSwatches();
    box_->update();
}

void PaletteWindow::setLogicalPalette(const LogicalPalette& palette)
{
    palette_ = palette;
    renderBox();
}

// Cell i (column i mod 16, row i div 16) is a rectangle of box side div 16
// pixels filled with entry i and outlined in black.
void PaletteWindow::renderBox()
{
    boxImage_ = QImage(kBoxSide, kBoxSide, QImage::Format_RGB32);
    boxImage_.fill(palette().color(QPalette::Window));
    const int cw = kBoxSide / kCells;
    const int ch = kBoxSide / kCells;
    QPainter painter(&boxImage_);
    painter.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < 256; ++i) {
        const QRect cell((i % kCells) * cw, (i / kCells) * ch, cw, ch);
        painter.fillRect(cell, qcolour(palette_.colours[std::size_t(i)]));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter.end();
    box_->update();
}

Colour PaletteWindow::colourAt(QPoint boxPos) const
{
    if (!boxImage_.rect().contains(boxPos))
        return kBlack;
    const QRgb rgb = boxImage_.pixel(boxPos);
    return makeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void PaletteWindow::showColourAt(QPoint boxPos)
{
    const Colour c = colourAt(boxPos);
    values_[0]->setText(QString::number(redOf(c)));
    values_[1]->setText(QString::number(greenOf(c)));
    values_[2]->setText(QString::number(blueOf(c)));
    hex_->setText(QString::fromStdString(colourHexText(c)));
}

void PaletteWindow::pickAt(QPoint boxPos, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        main_ = colourAt(boxPos);
    else if (button == Qt::RightButton)
        background_ = colourAt(boxPos);
    updateSwatches();
}

void PaletteWindow::updateSwatches()
{
    paintSwatch(panel1_, main_);
    paintSwatch(panel2_, background_);
}

void PaletteWindow::openPaletteFile()
{
    FileDialogRequest request;
    request.filter = "Palette(*.pal)|*.pal";
    request.defaultExtension = "pal";
    if (const auto choice = prompter_.openFileName(request))
        loadPaletteFile(choice->path);
}

bool PaletteWindow::loadPaletteFile(const std::string& path)
{
    try {
        setLogicalPalette(paletteFromFileColours(readPaletteFile(path), halftonePalette()));
        return true;
    } catch (const PaletteFileError& e) {
        prompter_.error(e.what());
        return false;
    }
}

} // namespace px
