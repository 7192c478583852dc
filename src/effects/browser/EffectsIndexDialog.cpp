#include "effects/browser/EffectsIndexDialog.h"

#include "effects/browser/EffectsIndex.h"
#include "effects/dialogs/AdjustmentDialog.h"
#include "platform/Prompter.h"
#include "platform/qt/DialogButtons.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <exception>
#include <utility>

namespace px {

namespace {

constexpr int kItemHeight = 13;
constexpr double kSmallestDescriptionPointSize = 6.0;

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QFrame* bevel(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->setGeometry(x, y, w, h);
    return f;
}

} // namespace

EffectsIndexDialog::EffectsIndexDialog(const EffectRegistry& effects, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      effects_(effects), prompter_(prompter)
{
    setObjectName(QStringLiteral("TForm46"));
    setWindowTitle(QStringLiteral("Index des effets"));
    setFixedSize(kClientWidth, kClientHeight);

    label(this, "Label1", QStringLiteral("Nom de l'effet"), 56, 8);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBox1"));
    list_->setGeometry(10, 27, 161, 161);
    list_->setUniformItemSizes(true);
    for (const IndexEntry& entry : effectsIndexEntries()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(entry.text), list_);
        item->setSizeHint(QSize(0, kItemHeight));
    }
    // A press that changes the selection previews at once; a click on the
    // entry already selected previews it again (a random effect differs
    // every time); the keyboard previews as it moves. Only a selected entry
    // counts: the list's focus frame alone (after a Tab) chooses nothing.
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        rowChangedByPress_ = QApplication::mouseButtons() != Qt::NoButton;
        listBox1Click();
    });
    connect(list_, &QListWidget::itemClicked, this, [this] {
        if (!std::exchange(rowChangedByPress_, false))
            listBox1Click();
    });

    label(this, "Label2", QStringLiteral("Visualisation"), 223, 8);
    bevel(this, "Bevel2", 184, 27, 137, 161);
    const QSize previewSize(kPreviewWidth, kPreviewHeight);
    image2_ = new PreviewImage(this, previewSize);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->move(186, 29);
    image1_ = new PreviewImage(this, previewSize);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(24, 32);
    image1_->hide();

    bevel(this, "Bevel1", 10, 208, 311, 42);
    // Drawn over the frame's top edge, as a caption.
    QLabel* label3 = label(this, "Label3", QStringLiteral("Description"), 16, 201);
    label3->setAutoFillBackground(true);
    label4_ = label(this, "Label4", QString(), 16, 222);
    label4_->setGeometry(16, 222, 302, 27);
    label4_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const auto [ok, cancel] = makeDialogButtons(this);
    button1_ = ok;
    ok->setGeometry(336, 24, 75, 25);
    cancel->setGeometry(336, 56, 75, 25);
}

EffectsIndexDialog::~EffectsIndexDialog()
{
    setPending(false);
}

void EffectsIndexDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    button1_->setFocus();
}

void EffectsIndexDialog::load(const Bitmap& document, const EffectContext& context)
{
    context_ = context;
    Bitmap copy = document;
    copy.setPixelFormat(24);
    if (needsStretch(copy.width(), copy.height())) {
        image1_->setStretch(true);
        image2_->setStretch(true);
    }
    image1_->setBitmap(std::move(copy));
    image2_->showPictureOf(*image1_);
}

void EffectsIndexDialog::finish()
{
    ++generation_;
    runner_.dropWaiting();
    setPending(false);
    image1_->setBitmap(Bitmap());
    image2_->setBitmap(Bitmap());
}

int EffectsIndexDialog::selectedEntry() const
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void EffectsIndexDialog::waitForPreview()
{
    runner_.waitIdle();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void EffectsIndexDialog::listBox1Click()
{
    const int entry = selectedEntry();
    const EffectCommand* row = indexEntryRow(effects_, entry);
    if (!row)
        return;
    setDescription(QString::fromStdString(row->description));
    startPreview(entry);
}

void EffectsIndexDialog::setDescription(const QString& text)
{
    // The descriptions were written for a narrower font than the desktop's:
    // a line too long for the frame is shown in a smaller size rather than
    // cut off.
    QFont font = this->font();
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto widest = [&lines](const QFont& f) {
        const QFontMetrics metrics(f);
        int w = 0;
        for (const QString& line : lines)
            w = std::max(w, metrics.horizontalAdvance(line));
        return w;
    };
    // (A font sized in pixels has no point size and stays as it is.)
    while (font.pointSizeF() > kSmallestDescriptionPointSize && widest(font) > label4_->width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label4_->setFont(font);
    label4_->setText(text);
}

void EffectsIndexDialog::startPreview(int entry)
{
    const std::uint64_t generation = ++generation_;
    setPending(true);
    // The job reads the source copy it was given, whatever later openings
    // do, and draws from a copy of the generator; the generator takes the
    // copy's state only when this preview is the one shown.
    std::shared_ptr<const Bitmap> source = image1_->shared();
    EffectContext context = indexPreviewContext(context_);
    const bool drawsRandom = context.random != nullptr;
    const RandomGenerator random = drawsRandom ? *context.random : RandomGenerator();
    runner_.post([this, source = std::move(source), context, random, drawsRandom, entry, generation]() mutable {
        auto result = std::make_shared<Bitmap>(*source);
        source.reset();
        RandomGenerator own = random;
        if (drawsRandom)
            context.random = &own;
        std::string error;
        try {
            computeIndexPreview(effects_, entry, *result, context, jobScratch_);
        } catch (const std::exception& e) {
            error = e.what();
        }
        const std::uint32_t state = own.state();
        QMetaObject::invokeMethod(
            this, [this, generation, entry, result, error, state] { deliver(generation, entry, result, error, state); },
            Qt::QueuedConnection);
    });
}

void EffectsIndexDialog::deliver(std::uint64_t generation, int entry, const std::shared_ptr<Bitmap>& result,
                                 const std::string& error, std::uint32_t randomState)
{
    if (generation != generation_)
        return;
    setPending(false);
    if (!error.empty()) {
        prompter_.error(error);
    } else {
        if (context_.random)
            context_.random->setState(randomState);
        image2_->setBitmap(std::move(*result));
    }
    emit previewShown(entry);
}

void EffectsIndexDialog::setPending(bool pending)
{
    if (pending == pending_)
        return;
    pending_ = pending;
    if (pending)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace px
