#include "document/ImageWindow.h"

#include "document/DocumentView.h"
#include "document/FullScreenView.h"
#include "document/MagnifierPanel.h"
#include "graphics/MagnifierGeometry.h"
#include "platform/Prompter.h"
#include "tools/TextTool.h"
#include "tools/ToolDispatch.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace px {

namespace {

constexpr int kTimerInterval = 25;

} // namespace

ImageWindow::ImageWindow(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName("TFrmImage");
    setWindowTitle(QString::fromLatin1(kNewImageCaption));
    resize(kDefaultWidth, kDefaultHeight);
    setAutoFillBackground(true);

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName("ScrollBox1");
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_ = new DocumentView;
    view_->setObjectName("Image1");
    view_->setBitmap(&document_);
    view_->setFloatingImages({&toolState_.floating, &toolState_.text});
    scrollBox_->setWidget(view_);
    scrollBox_->viewport()->installEventFilter(this);
    auto* actualSize = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this);
    actualSize->setContext(Qt::WidgetWithChildrenShortcut);
    connect(actualSize, &QShortcut::activated, this, [this] { setViewZoom(ZoomFactor{}); });
    connect(view_, &DocumentView::pointerPressed, this, [this](const ToolEvent& e) { toolPress(e); });
    connect(view_, &DocumentView::pointerMoved, this, [this](const ToolEvent& e) { toolMove(e); });
    connect(view_, &DocumentView::pointerReleased, this, [this](const ToolEvent& e) { toolRelease(e); });

    labelIm_ = new QLabel(scrollBox_);
    labelIm_->setObjectName("LabelIm");
    labelIm_->hide();

    panel_ = new MagnifierPanel(this);
    connect(panel_, &MagnifierPanel::overviewDoubleClicked, this, [this] { showFullScreen(document_, this); });

    auto* layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scrollBox_, 1);
    layout->addWidget(panel_);

    buildPopupMenu();

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(kTimerInterval);
    connect(timer_, &QTimer::timeout, this, &ImageWindow::onTimer);
    timer_->start();

    setFocusProxy(panel_->slider());
    setCrossCursor(true);

    // FormCreate.
    resetHistories();
    session_.noSavePrompt = false;
    session_.frmImage = this;
}

ImageWindow::~ImageWindow()
{
    timer_->stop();
    if (session_.frmImage == this)
        session_.frmImage = nullptr;
}

// Creating an image window empties the undo and redo histories, so that the
// history always belongs to the window created last.
void ImageWindow::resetHistories()
{
    session_.history.ResetHistories();
}

void ImageWindow::setDocument(Bitmap bitmap)
{
    document_ = std::move(bitmap);
    documentChanged();
}

void ImageWindow::documentChanged(QRect changed)
{
    view_->bitmapChanged(changed);
    if (overviewVisible())
        refreshOverview();
}

Damage ImageWindow::toolPress(const ToolEvent& event)
{
    const Damage changed = repaintTool(dispatchPress(session_.tools, session_.currentTool, event, toolContext()));
    updateCursor(event);
    return changed;
}

Damage ImageWindow::toolMove(const ToolEvent& event)
{
    emit mousePositionChanged(event.x, event.y);
    const Damage changed = repaintTool(dispatchMove(session_.tools, session_.currentTool, event, toolContext()));
    updateCursor(event);
    return changed;
}

// The floating text shows the hand over itself, where the click that writes
// it is awaited; elsewhere the view keeps the cursor of the view options.
void ImageWindow::updateCursor(const ToolEvent& event)
{
    const bool overText = floatingTextCatches(toolState_, event);
    const Qt::CursorShape shape = overText ? Qt::PointingHandCursor : crossCursor_ ? Qt::CrossCursor : Qt::ArrowCursor;
    if (view_->cursor().shape() != shape)
        view_->setCursor(shape);
}

Damage ImageWindow::toolRelease(const ToolEvent& event)
{
    return repaintTool(dispatchRelease(session_.tools, session_.currentTool, event, toolContext()));
}

Damage ImageWindow::toolTimerTick()
{
    return repaintTool(dispatchTimerTick(session_.tools, session_.currentTool, toolContext()));
}

// A tool may have changed the document's size (the selection puts back its
// copy of the picture) or depth: the view then follows as a whole.
Damage ImageWindow::repaintTool(const Damage& changed)
{
    if (changed.isEmpty())
        return changed;
    const Rect document{0, 0, document_.width(), document_.height()};
    QRegion region;
    for (const Rect& r : changed.rects()) {
        const Rect part = r.intersected(document);
        if (!part.isEmpty())
            region += QRect(part.left, part.top, part.width(), part.height());
    }
    view_->bitmapChanged(region);
    return changed;
}

ToolContext ImageWindow::toolContext()
{
    return ToolContext{document_,
                       canvas_,
                       toolState_,
                       session_.mainColour,
                       session_.backgroundColour,
                       session_.toolOptions,
                       session_.clipboard,
                       session_.prompter,
                       session_.random,
                       *this};
}

// SaveUndoState: the tools call only this; RefreshAfterEdit is the
// commands' business. A snapshot that no effect command claims is a tool's
// stroke (or another change a macro cannot replay).
void ImageWindow::saveUndoState()
{
    saveUndoState("un tracé d'outil de dessin : les outils suivent la souris et ne sont pas enregistrés");
}

void ImageWindow::saveUndoState(std::string macroNote)
{
    session_.history.SaveUndoState(document_);
    macroRecord_.snapshotTaken(std::move(macroNote));
    emit undoStateSaved();
}

void ImageWindow::showMessage(const std::string& text)
{
    emit toolMessage(QString::fromStdString(text));
}

void ImageWindow::showColourReadOut(Colour colour)
{
    emit colourReadOut(colour);
}

void ImageWindow::setMainColour(Colour colour)
{
    session_.mainColour = colour;
    emit coloursChanged();
}

void ImageWindow::setBackgroundColour(Colour colour)
{
    session_.backgroundColour = colour;
    emit coloursChanged();
}

QString ImageWindow::filePath() const
{
    return labelIm_->text();
}

void ImageWindow::setFilePath(const QString& path)
{
    labelIm_->setText(path);
}

void ImageWindow::applyViewOptions(const ViewOptions& options)
{
    setCrossCursor(options.crossCursor);
    setPanelRight(options.panelRight);
    // Activation shows or hides the panel but leaves this window's timer as
    // it is: only the menu command stops the magnifier.
    panel_->setVisible(options.panelVisible);
    setWhiteCrossHair(options.whiteCrossHair);
    setOverviewVisible(options.overview);
}

void ImageWindow::setPanelRight(bool right)
{
    panelRight_ = right;
    static_cast<QBoxLayout*>(layout())->setDirection(right ? QBoxLayout::LeftToRight : QBoxLayout::RightToLeft);
}

void ImageWindow::setPanelVisible(bool visible)
{
    panel_->setVisible(visible);
    if (visible)
        timer_->start();
    else
        timer_->stop();
}

bool ImageWindow::panelVisible() const
{
    return !panel_->isHidden();
}

bool ImageWindow::magnifierRunning() const
{
    return timer_->isActive();
}

void ImageWindow::setWhiteCrossHair(bool white)
{
    panel_->setWhiteCrossHair(white);
}

bool ImageWindow::whiteCrossHair() const
{
    return panel_->whiteCrossHair();
}

void ImageWindow::setOverviewVisible(bool visible)
{
    if (visible)
        panel_->refreshOverview(document_);
    panel_->setOverviewVisible(visible);
}

bool ImageWindow::overviewVisible() const
{
    return panel_->overviewVisible();
}

void ImageWindow::setCrossCursor(bool cross)
{
    crossCursor_ = cross;
    view_->setCursor(cross ? Qt::CrossCursor : Qt::ArrowCursor);
}

int ImageWindow::zoomStep() const
{
    return panel_->zoomStep();
}

void ImageWindow::setZoomStep(int step)
{
    panel_->setZoomStep(step);
}

void ImageWindow::refreshOverview()
{
    panel_->refreshOverview(document_);
}

void ImageWindow::onTimer()
{
    updateMagnifier(QCursor::pos());
}

// Timer1Timer. The region test compares the screen position with the
// window's width and its top + height within the MDI area, as the program
// always has; inside a sub-window those are the sub-window's.
void ImageWindow::updateMagnifier(QPoint screenPos)
{
    const QWidget* frame = this;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame = sub;
    const QRect g = frame->geometry();
    const bool follow = magnifierFollowsMouse(screenPos.x(), screenPos.y(), g.width(), g.y(), g.height());
    panel_->magnify(document_, view_->imagePosition(view_->mapFromGlobal(QPointF(screenPos))), follow);
    if (follow && overviewVisible())
        refreshOverview();
}

ZoomFactor ImageWindow::viewZoom() const
{
    return view_->zoom();
}

void ImageWindow::setViewZoom(ZoomFactor zoom, std::optional<QPointF> anchor)
{
    const ZoomFactor old = view_->zoom();
    if (zoom == old)
        return;
    QWidget* viewport = scrollBox_->viewport();
    const QPointF at = anchor.value_or(QPointF(viewport->width() / 2.0, viewport->height() / 2.0));
    // The image point under the anchor, in image pixels (not floored).
    const QPointF imagePoint = (at - QPointF(view_->pos())) * old.den / old.num;
    view_->setZoom(zoom);
    const QPointF newPosition = imagePoint * zoom.num / zoom.den;
    scrollBox_->horizontalScrollBar()->setValue(int(std::lround(newPosition.x() - at.x())));
    scrollBox_->verticalScrollBar()->setValue(int(std::lround(newPosition.y() - at.y())));
}

bool ImageWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scrollBox_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // 120 eighths of a degree make one step of an ordinary wheel;
            // finer wheels and touch pads add up to it.
            wheelRemainder_ += wheel->angleDelta().y();
            const int steps = wheelRemainder_ / 120;
            wheelRemainder_ -= steps * 120;
            if (steps != 0)
                setViewZoom(stepZoom(view_->zoom(), steps), wheel->position());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

const Bitmap& ImageWindow::magnifierImage() const
{
    return panel_->magnifierImage();
}

void ImageWindow::buildPopupMenu()
{
    popup_ = new QMenu(this);
    popup_->setObjectName("PopupMenu1");

    auto addOption = [this](QMenu* menu, const char* name, const char* text, const char* mainName) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        const QString target = QString::fromLatin1(mainName);
        connect(action, &QAction::triggered, this, [this, target] { emit popupOptionTriggered(target); });
        return action;
    };
    QMenu* place = popup_->addMenu(QStringLiteral("Emplacement"));
    place->setObjectName("Emplacement1");
    addOption(place, "Droite1", "Droite", "Droite1")->setChecked(true);
    addOption(place, "Gauche1", "Gauche", "Gauche1");
    QMenu* mark = popup_->addMenu(QString::fromUtf8("Repère"));
    mark->setObjectName("Repre1");
    addOption(mark, "Blanc1", "Blanc", "Blanc1");
    addOption(mark, "Noir1", "Noir", "Noir1")->setChecked(true);
    addOption(popup_, "VuedensemblePan1", "Vue d'ensemble", "Vuedensemble1")->setChecked(true);
    addOption(popup_, "VisiblePan1", "Visible", "Visible1")->setChecked(true);

    connect(popup_, &QMenu::aboutToShow, this, &ImageWindow::popupMenuAboutToShow);
    connect(panel_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(panel_->mapToGlobal(pos)); });
}

void ImageWindow::setViewOptionsSource(std::function<ViewOptions()> source)
{
    viewOptionsSource_ = std::move(source);
}

// PopupMenu1Popup: the popup's ticks are copies of the main window's.
void ImageWindow::popupMenuAboutToShow()
{
    if (!viewOptionsSource_)
        return;
    const ViewOptions o = viewOptionsSource_();
    auto tick = [this](const char* name, bool on) {
        if (auto* a = popup_->findChild<QAction*>(QString::fromLatin1(name)))
            a->setChecked(on);
    };
    tick("Droite1", o.panelRight);
    tick("Gauche1", !o.panelRight);
    tick("Blanc1", o.whiteCrossHair);
    tick("Noir1", !o.whiteCrossHair);
    tick("VuedensemblePan1", o.overview);
    tick("VisiblePan1", o.panelVisible);
}

// FormCloseQuery, then FormClose. A failed or cancelled save keeps the
// window open so that the document is not lost.
void ImageWindow::closeEvent(QCloseEvent* event)
{
    if (!session_.noSavePrompt) {
        const std::string text = "Voulez-vous enregistrer les modifications de " + filePath().toStdString() + " ?";
        switch (session_.prompter.ask(text, "Confirmation", Buttons::YesNoCancel, MessageKind::Confirmation)) {
        case Answer::Yes:
            if (!saveHandler || !saveHandler()) {
                event->ignore();
                return;
            }
            break;
        case Answer::No:
            break;
        default:
            event->ignore();
            return;
        }
    }
    event->accept();
    emit closed();
}

ImageWindow* ImageWindow::duplicate(QWidget* parent) const
{
    Bitmap copy = document_;
    auto* window = new ImageWindow(session_, parent);
    window->resize(window->width(), window->height() + 56);
    window->setDocument(std::move(copy));
    window->setFilePath(QString::fromLatin1(kNewImageCaption));
    window->setViewOptionsSource(viewOptionsSource_);
    window->saveHandler = nullptr;
    return window;
}

void ImageWindow::showFullScreen(const Bitmap& bitmap, QWidget* parent)
{
    FullScreenView view(bitmap, parent);
    view.exec();
}

} // namespace px
