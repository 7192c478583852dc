#include "tools/dialogs/ToolOptionsDialog.h"

#include "document/DocumentView.h"
#include "fileio/ImageFormats.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/qt/DialogButtons.h"
#include "tools/AirbrushTool.h"
#include "tools/dialogs/UpDownButtons.h"
#include "tools/PaintingTools.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include <exception>

namespace px {

namespace {

QString utf8(const char* s)
{
    return QString::fromUtf8(s);
}

// The line types of every type box, in their order, and their pen styles.
struct LineType {
    const char* name;
    PenStyle style;
    const char* description; // shown by the "Ligne" page
};
constexpr LineType kLineTypes[] = {
    {"Continu", PenStyle::Solid, "Ligne de cote, hachures, aretes fictives."},
    {"Interrompu", PenStyle::Dash, "Contours cachés, aretes cachées."},
    {"Mixte", PenStyle::DashDot, "Axes de révolution, plan de symétrie."},
    {"Mixte à deux tirets", PenStyle::DashDotDot, "Lignes des centres de gravités. Demi-rabattement."},
    {"Pointillé", PenStyle::Dot, "Trait pointillé."},
};

QComboBox* comboBox(const char* name, std::initializer_list<const char*> items, int current, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const char* item : items)
        box->addItem(utf8(item));
    box->setCurrentIndex(current);
    return box;
}

QComboBox* lineTypeBox(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const LineType& t : kLineTypes)
        box->addItem(utf8(t.name));
    return box;
}

QLabel* label(const char* text, QWidget* parent, const char* name = nullptr)
{
    auto* l = new QLabel(utf8(text), parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    return l;
}

QGroupBox* frame(const char* title, QWidget* parent)
{
    auto* group = new QGroupBox(utf8(title), parent);
    new QVBoxLayout(group);
    return group;
}

// A width track bar with its "Valeur :" read-out and its two end labels.
QSlider* widthTrackBar(const char* name, int maximum, int marks, QWidget* parent, QBoxLayout* into,
                       const char* valueName, QLabel*& value)
{
    auto* row = new QHBoxLayout;
    row->addWidget(label("Valeur :", parent));
    value = label("1", parent, valueName);
    row->addWidget(value);
    row->addStretch();
    into->addLayout(row);
    auto* track = new QSlider(Qt::Horizontal, parent);
    track->setObjectName(QLatin1String(name));
    track->setRange(1, maximum);
    track->setTickPosition(QSlider::TicksBelow);
    track->setTickInterval(marks);
    into->addWidget(track);
    auto* ends = new QHBoxLayout;
    ends->addWidget(label("1", parent));
    ends->addStretch();
    ends->addWidget(new QLabel(QString::number(maximum), parent));
    into->addLayout(ends);
    return track;
}

} // namespace

ToolOptionsDialog::ToolOptionsDialog(ToolOptions& options, Clipboard& clipboard, Prompter& prompter, QWidget* parent)
    : QDialog(parent), options_(options), clipboard_(clipboard), prompter_(prompter),
      preview_(kPreviewWidth, kPreviewHeight, 24)
{
    setObjectName(QStringLiteral("TForm22"));
    setWindowTitle(utf8("Options d'outils..."));
    resize(274, 334);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setUsesScrollButtons(true);
    pages_->addTab(buildAirbrushPage(), utf8("Aérographe"));
    const FigurePageNames names[] = {
        {"Carré", "TrackBar2", "Label13", "ComboBox12", "Type de carré", "ComboBox11", "Style de carré", true,
         "CheckBox6"},
        {"Cercle", "TrackBar6", "Label46", "ComboBox17", "Type de cercle", "ComboBox16", "Style de cercle", true,
         "CheckBox7"},
        {"Ellipse", "TrackBar4", "Label28", "ComboBox9", "Type d'ellipse", "ComboBox5", "Style de ellipse", false,
         "CheckBox3"},
        {"Rectangle", "TrackBar3", "Label24", "ComboBox2", "Type de rectangle", "ComboBox4", "Style de Rectangle",
         false, "CheckBox2"},
        {"Rect arrondi", "TrackBar5", "Label32", "ComboBox10", "Type de rect arrondi", "ComboBox6",
         "Style de rect arrondi ", false, "CheckBox4"},
    };
    FigureOptions* targets[] = {&options_.square, &options_.circle, &options_.ellipse, &options_.rectangle,
                                &options_.roundRect};
    pages_->addTab(buildFigurePage(names[0], *targets[0], figures_[0]), utf8(names[0].page));
    pages_->addTab(buildFigurePage(names[1], *targets[1], figures_[1]), utf8(names[1].page));
    pages_->addTab(buildCrayonPage(), utf8("Crayon"));
    pages_->addTab(buildFigurePage(names[2], *targets[2], figures_[2]), utf8(names[2].page));
    pages_->addTab(buildEraserPage(), utf8("Gomme"));
    pages_->addTab(buildLinePage(), utf8("Ligne"));
    pages_->addTab(buildFigurePage(names[3], *targets[3], figures_[3]), utf8(names[3].page));
    pages_->addTab(buildFigurePage(names[4], *targets[4], figures_[4]), utf8(names[4].page));
    pages_->addTab(buildFillPage(), utf8("Remplissage"));
    pages_->addTab(buildSprayPage(), utf8("Spray"));
    pages_->addTab(buildStampPage(), utf8("Tampon"));
    pages_->setCurrentIndex(0);

    const DialogButtons buttons = makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    // "&Annuler" undoes nothing: the settings changed as the controls did.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    layout->addLayout(row);

    setStamp(defaultStampPicture());
    clearPreview();
    drawStylePreview();
}

QWidget* ToolOptionsDialog::buildFigurePage(const FigurePageNames& names, FigureOptions& options, FigurePage& page)
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(label("Taille du stylo", w));
    page.options = &options;
    page.width = widthTrackBar(names.track, 20, 1, w, layout, names.value, page.value);
    page.typeCaption = label(names.typeCaption, w);
    layout->addWidget(page.typeCaption);
    page.type = lineTypeBox(names.type, w);
    layout->addWidget(page.type);
    layout->addWidget(label(names.fillCaption, w));
    page.fill = names.solidFirst ? comboBox(names.fill, {"Solide", "Transparent"}, 1, w)
                                 : comboBox(names.fill, {"Transparent", "Solide"}, 0, w);
    layout->addWidget(page.fill);
    page.bicolour = new QCheckBox(QStringLiteral("Bicolore"), w);
    page.bicolour->setObjectName(QLatin1String(names.bicolour));
    page.bicolour->setEnabled(false);
    layout->addWidget(page.bicolour);
    layout->addStretch();

    options = FigureOptions{};
    FigurePage* p = &page;
    connect(page.width, &QSlider::valueChanged, this, [this, p](int v) { widthChanged(*p, v); });
    connect(page.type, &QComboBox::currentIndexChanged, this,
            [p](int i) { p->options->penStyle = kLineTypes[std::max(i, 0)].style; });
    connect(page.fill, &QComboBox::currentIndexChanged, this, [this, p] { fillChanged(*p); });
    connect(page.bicolour, &QCheckBox::toggled, this, [p](bool on) { p->options->bicolour = on; });
    return w;
}

// Patterned pens only work one pixel wide: a wider pen forces "Continu" and
// greys the type box and its caption; width 1 enables them again without
// giving the earlier type back.
void ToolOptionsDialog::widthChanged(FigurePage& page, int position)
{
    page.value->setText(QString::number(position));
    page.options->penWidth = position;
    const bool patterned = position <= 1;
    if (!patterned)
        page.type->setCurrentIndex(0);
    page.type->setEnabled(patterned);
    page.typeCaption->setEnabled(patterned);
}

// "Transparent" greys "Bicolore", "Solide" enables it; its tick stays.
void ToolOptionsDialog::fillChanged(FigurePage& page)
{
    const bool solid = page.fill->currentText() == QStringLiteral("Solide");
    page.options->solidFill = solid;
    page.bicolour->setEnabled(solid);
}

QWidget* ToolOptionsDialog::buildAirbrushPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* choice = frame("Choix de l'aérographe", w);
    choice->layout()->addWidget(label("Style d'aérographe", choice));
    airbrushStyle_ = comboBox("ComboBox3",
                              {"Style 1", "Style 2", "Style 3", "Style 4", "Style 5", "Style 6", "Style 7", "Style 8",
                               "Style 9", "Personnalisé"},
                              0, choice);
    choice->layout()->addWidget(airbrushStyle_);
    layout->addWidget(choice);

    auto* row = new QHBoxLayout;
    auto* custom = new QGroupBox(utf8("Personnalisé"), w);
    auto* grid = new QGridLayout(custom);
    grid->setSpacing(0);
    for (int k = 0; k < 25; ++k) {
        auto* box = new QCheckBox(custom);
        box->setObjectName(QStringLiteral("Chec%1").arg(k + 1));
        box->setFixedSize(16, 16);
        box->setEnabled(false);
        grid->addWidget(box, k / 5, k % 5);
        grid_[std::size_t(k)] = box;
        connect(box, &QCheckBox::clicked, this, [this, k](bool on) {
            options_.airbrushCells[std::size_t(k)] = on;
            gridClicked();
        });
    }
    row->addWidget(custom);
    QGroupBox* view = frame("Visualisation de l'aérographe", w);
    previewLabel_ = new QLabel(view);
    previewLabel_->setObjectName(QStringLiteral("Image2"));
    previewLabel_->setFixedSize(kPreviewWidth, kPreviewHeight);
    previewLabel_->setFrameShape(QFrame::NoFrame);
    auto* shape = new QFrame(view);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    auto* shapeLayout = new QVBoxLayout(shape);
    shapeLayout->setContentsMargins(0, 0, 0, 0);
    shapeLayout->addWidget(previewLabel_);
    // The frame fits the preview closely, as a one-pixel border.
    shape->setFixedSize(kPreviewWidth + 2, kPreviewHeight + 2);
    view->layout()->addWidget(shape);
    view->layout()->setAlignment(shape, Qt::AlignCenter);
    row->addWidget(view);
    layout->addLayout(row);
    layout->addStretch();

    connect(airbrushStyle_, &QComboBox::currentIndexChanged, this, &ToolOptionsDialog::airbrushStyleChanged);
    return w;
}

// ComboBox3Change: a numbered style greys the grid (its ticks stay) and shows
// its pixels; "Personnalisé" enables the grid and leaves the preview blank
// until a box is clicked.
void ToolOptionsDialog::airbrushStyleChanged()
{
    const int index = airbrushStyle_->currentIndex();
    const bool custom = index == 9;
    options_.airbrushStyle = custom ? ToolOptions::kCustomAirbrushStyle : index + 1;
    for (QCheckBox* box : grid_)
        box->setEnabled(custom);
    clearPreview();
    if (!custom)
        drawStylePreview();
    showPreview();
}

// ChecClick: the preview shows the checked cells of "Personnalisé", two
// pixels apart around (44, 28).
void ToolOptionsDialog::gridClicked()
{
    clearPreview();
    if (options_.airbrushStyle == ToolOptions::kCustomAirbrushStyle)
        for (int k = 0; k < 25; ++k)
            if (grid_[std::size_t(k)]->isChecked())
                preview_.setPixel(kPreviewCentreX - 4 + 2 * (k % 5), kPreviewCentreY - 4 + 2 * (k / 5), kBlack);
    showPreview();
}

void ToolOptionsDialog::clearPreview()
{
    preview_.fill(kWhite);
}

void ToolOptionsDialog::drawStylePreview()
{
    for (const AirbrushOffset& o : airbrushPreview(options_.airbrushStyle))
        preview_.setPixel(kPreviewCentreX + o.dx, kPreviewCentreY + o.dy, kBlack);
    showPreview();
}

void ToolOptionsDialog::showPreview()
{
    if (previewLabel_)
        previewLabel_->setPixmap(QPixmap::fromImage(imageOfBitmap(preview_).copy()));
}

QWidget* ToolOptionsDialog::buildCrayonPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(label("Taille du crayon", w));
    QLabel* value = nullptr;
    QSlider* track = widthTrackBar("TrackBar1", 100, 5, w, layout, "Label11", value);
    layout->addStretch();
    connect(track, &QSlider::valueChanged, this, [this, value](int v) {
        value->setText(QString::number(v));
        options_.crayonWidth = v;
    });
    return w;
}

QWidget* ToolOptionsDialog::buildEraserPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* choice = frame("Choix de la gomme", w);
    choice->layout()->addWidget(label("Style de gomme", choice));
    QComboBox* box = comboBox("ComboBox15", {"Carré", "Rond"}, 1, choice);
    choice->layout()->addWidget(box);
    layout->addWidget(choice);
    layout->addStretch();
    connect(box, &QComboBox::currentIndexChanged, this,
            [this](int i) { options_.eraser = i == 0 ? EraserShape::Square : EraserShape::Round; });
    return w;
}

QWidget* ToolOptionsDialog::buildLinePage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* type = frame("Choix du type de trait", w);
    lineTypeCaption_ = label("Types de traits ", type, "Label1");
    type->layout()->addWidget(lineTypeCaption_);
    lineType_ = lineTypeBox("ComboBox1", type);
    type->layout()->addWidget(lineType_);
    auto* heading = label("Description:", type);
    QFont underlined = heading->font();
    underlined.setUnderline(true);
    heading->setFont(underlined);
    type->layout()->addWidget(heading);
    lineDescription_ = label("Ligne de cote, hachures, aretes fictives. ", type, "Label3");
    lineDescription_->setWordWrap(true);
    type->layout()->addWidget(lineDescription_);
    layout->addWidget(type);

    QGroupBox* size = frame("Choix de la taille", w);
    size->layout()->addWidget(label("Taille du trait", size));
    auto* row = new QHBoxLayout;
    lineSize_ = new QLineEdit(QStringLiteral("1"), size);
    lineSize_->setObjectName(QStringLiteral("Edit1"));
    lineSize_->setFixedWidth(50);
    lineSizeUpDown_ = new UpDownButtons(lineSize_, 1, 200, size);
    lineSizeUpDown_->setObjectName(QStringLiteral("UpDown1"));
    row->addWidget(lineSize_);
    row->addWidget(lineSizeUpDown_);
    row->addStretch();
    static_cast<QBoxLayout*>(size->layout())->addLayout(row);
    layout->addWidget(size);
    layout->addWidget(label("Les types de traits sont utilisables que si la taille du", w, "Label6"));
    layout->addWidget(label("trait a la valeur 1.", w, "Label7"));
    layout->addStretch();

    connect(lineType_, &QComboBox::currentIndexChanged, this, &ToolOptionsDialog::lineTypeChanged);
    connect(lineSize_, &QLineEdit::textChanged, this, &ToolOptionsDialog::lineSizeChanged);
    return w;
}

// Edit1Change: a size of 2 or more forces "Continu" and greys the type box
// and its caption, exactly "1" enables them; any other text changes nothing.
// The pen width is the up-down's position: the edit's value when it holds
// an integer.
void ToolOptionsDialog::lineSizeChanged(const QString& text)
{
    options_.lineWidth = lineSizeUpDown_ ? lineSizeUpDown_->position() : 1;
    int value = 0;
    if (text == QStringLiteral("1")) {
        lineType_->setEnabled(true);
        lineTypeCaption_->setEnabled(true);
    } else if (parseInteger(text, value) && value > 1) {
        lineType_->setCurrentIndex(0);
        lineType_->setEnabled(false);
        lineTypeCaption_->setEnabled(false);
    }
}

// ComboBox1Change: the description of the chosen type.
void ToolOptionsDialog::lineTypeChanged()
{
    const LineType& t = kLineTypes[std::max(lineType_->currentIndex(), 0)];
    options_.lineStyle = t.style;
    lineDescription_->setText(utf8(t.description));
}

QWidget* ToolOptionsDialog::buildFillPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* choice = frame("Choix du remplissage", w);
    choice->layout()->addWidget(label("Type de remplissage", choice));
    QComboBox* box = comboBox("ComboBox19", {"Bordure", "Surface"}, 1, choice);
    choice->layout()->addWidget(box);
    layout->addWidget(choice);
    layout->addStretch();
    connect(box, &QComboBox::currentIndexChanged, this,
            [this](int i) { options_.fillMode = i == 0 ? FloodFillMode::Border : FloodFillMode::Surface; });
    return w;
}

QWidget* ToolOptionsDialog::buildSprayPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* choice = frame("Choix du spray", w);
    choice->layout()->addWidget(label("Style de spray", choice));
    QComboBox* box = comboBox("ComboBox18", {"Carré", "Rond"}, 1, choice);
    choice->layout()->addWidget(box);
    choice->layout()->addWidget(label("Diamètre du spray", choice));
    auto* row = new QHBoxLayout;
    sprayDiameter_ = new QLineEdit(QStringLiteral("20"), choice);
    sprayDiameter_->setObjectName(QStringLiteral("Edit3"));
    sprayDiameter_->setFixedWidth(50);
    sprayUpDown_ = new UpDownButtons(sprayDiameter_, 0, 500, choice);
    sprayUpDown_->setObjectName(QStringLiteral("UpDown2"));
    row->addWidget(sprayDiameter_);
    row->addWidget(sprayUpDown_);
    row->addStretch();
    static_cast<QBoxLayout*>(choice->layout())->addLayout(row);
    layout->addWidget(choice);
    layout->addStretch();
    connect(box, &QComboBox::currentIndexChanged, this,
            [this](int i) { options_.sprayShape = i == 0 ? SprayShape::Square : SprayShape::Round; });
    // The spray reads the edit's integer at each tick; a text that is not one
    // sprays nothing.
    connect(sprayDiameter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        options_.sprayDiameterText = text.toStdString();
        int value = 0;
        options_.sprayDiameter = parseInteger(text, value) ? std::optional<int>(value) : std::nullopt;
    });
    return w;
}

QWidget* ToolOptionsDialog::buildStampPage()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    QGroupBox* choice = frame("Choix du tampon", w);
    stampLabel_ = new QLabel(choice);
    stampLabel_->setObjectName(QStringLiteral("Imagetamp"));
    stampLabel_->setFixedSize(73, 49);
    stampLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    choice->layout()->addWidget(stampLabel_);
    auto* open = new QPushButton(QStringLiteral("Ouvrir..."), choice);
    open->setObjectName(QStringLiteral("Button3"));
    stampFromClipboard_ = new QPushButton(utf8("Séléction"), choice);
    stampFromClipboard_->setObjectName(QStringLiteral("Button4"));
    auto* row = new QHBoxLayout;
    row->addWidget(open);
    row->addWidget(stampFromClipboard_);
    static_cast<QBoxLayout*>(choice->layout())->addLayout(row);
    layout->addWidget(choice);
    layout->addStretch();
    connect(open, &QPushButton::clicked, this, &ToolOptionsDialog::openStamp);
    connect(stampFromClipboard_, &QPushButton::clicked, this, &ToolOptionsDialog::takeStampFromClipboard);
    return w;
}

// The stamp is always drawn at its own size; Imagetamp shrinks a large one
// to show it, and keeps shrinking from then on.
void ToolOptionsDialog::setStamp(Bitmap stamp)
{
    options_.stamp = std::move(stamp);
    if (options_.stamp.height() > kStampShownHeight || options_.stamp.width() > kStampShownWidth)
        stampStretched_ = true;
    stampLabel_->setScaledContents(stampStretched_);
    stampLabel_->setPixmap(QPixmap::fromImage(imageOfBitmap(options_.stamp).copy()));
}

// A file that cannot be read is reported and the stamp stays.
void ToolOptionsDialog::openStamp()
{
    FileDialogRequest request;
    request.filter = "Fichiers BMP |*.bmp";
    const std::optional<FileChoice> choice = prompter_.openFileName(request);
    if (!choice)
        return;
    try {
        setStamp(readImageFile(std::filesystem::path(choice->path)));
    } catch (const std::exception& e) {
        prompter_.error(e.what());
    }
}

// The clipboard may hold a picture too large to take: the stamp then stays.
void ToolOptionsDialog::takeStampFromClipboard()
{
    if (!clipboard_.hasImage())
        return;
    Bitmap picture = clipboard_.image();
    if (!picture.isEmpty())
        setStamp(std::move(picture));
}

void ToolOptionsDialog::activate()
{
    stampFromClipboard_->setEnabled(clipboard_.hasImage());
    if (options_.airbrushStyle != ToolOptions::kCustomAirbrushStyle) {
        clearPreview();
        drawStylePreview();
    }
    for (FigurePage* page : {&figures_[3], &figures_[2], &figures_[4]})
        page->bicolour->setEnabled(page->fill->currentText() == QStringLiteral("Solide"));
}

void ToolOptionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
}

} // namespace px
