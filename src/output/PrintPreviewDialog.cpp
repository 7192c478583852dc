#include "output/PrintPreviewDialog.h"

#include "output/OutputServices.h"
#include "platform/Prompter.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

namespace px {

namespace {
QSlider* makeFactorBar(const char* name, QWidget* parent)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(1, 20);
    bar->setValue(1);
    bar->setTickInterval(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setPageStep(1);
    bar->setMinimumWidth(150);
    return bar;
}
} // namespace

PrintPreviewDialog::PrintPreviewDialog(OutputServices& services, Prompter& prompter, QWidget* parent)
    : QDialog(parent), services_(services), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Aperçu avant impression..."));
    screenSize = [] {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? Size{screen->size().width(), screen->size().height()} : Size{1024, 768};
    };

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    auto* bar = new QHBoxLayout(top);
    auto* print = new QPushButton(QStringLiteral("Imprimer"), top);
    print->setObjectName(QStringLiteral("Button2"));
    auto* close = new QPushButton(QStringLiteral("Fermer"), top);
    close->setObjectName(QStringLiteral("Button1"));
    auto* heightLabel = new QLabel(QStringLiteral("Hauteur de l'image :"), top);
    heightLabel->setObjectName(QStringLiteral("Label1"));
    trackBar1_ = makeFactorBar("TrackBar1", top);
    auto* widthLabel = new QLabel(QStringLiteral("Largeur de l'image :"), top);
    widthLabel->setObjectName(QStringLiteral("Label2"));
    trackBar2_ = makeFactorBar("TrackBar2", top);
    bar->addWidget(print);
    bar->addWidget(close);
    bar->addSpacing(20);
    bar->addWidget(heightLabel);
    bar->addWidget(trackBar1_);
    bar->addSpacing(10);
    bar->addWidget(widthLabel);
    bar->addWidget(trackBar2_);
    bar->addStretch();

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    pageHolder_ = new QWidget;
    QPalette grey = pageHolder_->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    pageHolder_->setPalette(grey);
    pageHolder_->setAutoFillBackground(true);
    image1_ = new QLabel(pageHolder_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(0, 0, 105, 105);
    scrollBox_->setWidget(pageHolder_);
    scrollBox_->setWidgetResizable(false);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(statusBar_);
    statusPanel_->setMinimumWidth(50);
    statusBar_->addWidget(statusPanel_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(scrollBox_, 1);
    layout->addWidget(statusBar_);

    connect(trackBar1_, &QSlider::valueChanged, this, &PrintPreviewDialog::trackBar1Change);
    connect(trackBar2_, &QSlider::valueChanged, this, &PrintPreviewDialog::trackBar2Change);
    connect(close, &QPushButton::clicked, this, &PrintPreviewDialog::button1Click);
    connect(print, &QPushButton::clicked, this, &PrintPreviewDialog::print);
    resize(800, 600);
}

void PrintPreviewDialog::prepare(const Bitmap& document, const QString& path)
{
    printBitmap_ = makePrintBitmap(document);
    statusPanel_->setText(path);
}

QString PrintPreviewDialog::statusText() const
{
    return statusPanel_->text();
}

QPoint PrintPreviewDialog::pageAreaPosition() const
{
    return image1_->pos();
}

void PrintPreviewDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
}

// The track bars are put back to 1 with the factors, so that what they show
// is what will be printed.
void PrintPreviewDialog::activate()
{
    factors_ = {};
    {
        const QSignalBlocker block1(trackBar1_);
        const QSignalBlocker block2(trackBar2_);
        trackBar1_->setValue(1);
        trackBar2_->setValue(1);
    }
    layoutPage();
}

void PrintPreviewDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!pageArea_.isEmpty())
        layoutPage();
}

void PrintPreviewDialog::layoutPage()
{
    const QSize viewport = scrollBox_->viewport()->size();
    const Size view{viewport.width(), viewport.height()};
    const Size page = services_.printer->pageSize();
    reduction_ = previewReduction(screenSize(), page, view);
    const Size area = previewPageArea(page, reduction_);
    const Point at = previewPagePosition(view, area);
    pageArea_ = Bitmap(area.width, area.height, 24);
    image1_->setGeometry(at.x, at.y, area.width, area.height);
    pageHolder_->resize(std::max(view.width, at.x + area.width), std::max(view.height, at.y + area.height));
    drawPreview();
}

void PrintPreviewDialog::drawPreview()
{
    if (pageArea_.isEmpty())
        return;
    px::drawPreview(pageArea_, printBitmap_, factors_, reduction_);
    const QImage picture(pageArea_.bits(), pageArea_.width(), pageArea_.height(), qsizetype(pageArea_.stride()),
                         QImage::Format_BGR888);
    image1_->setPixmap(QPixmap::fromImage(picture));
}

void PrintPreviewDialog::trackBar1Change(int position)
{
    factors_.height = position;
    drawPreview();
}

void PrintPreviewDialog::trackBar2Change(int position)
{
    factors_.width = position;
    drawPreview();
}

void PrintPreviewDialog::button1Click()
{
    trackBar1_->setValue(1);
    trackBar2_->setValue(1);
    reject();
}

void PrintPreviewDialog::print()
{
    Printer& printer = *services_.printer;
    if (!printer.runPrintDialog())
        return;
    if (isVisible())
        accept();
    const Rect target = printTargetRect({printBitmap_.width(), printBitmap_.height()}, factors_);
    try {
        printer.printImage(statusText().toStdString(), printBitmap_, target);
    } catch (const PrintError& e) {
        prompter_.error(e.what());
    }
}

} // namespace px
