#include "app/MainWindow.h"

#include "app/DrawingCommands.h"
#include "app/EditingCommands.h"
#include "app/EffectDialogs.h"
#include "app/MenuBuilder.h"
#include "app/OutputCommands.h"
#include "app/RecentFiles.h"
#include "app/ShellCommands.h"
#include "app/StartupDialogs.h"
#include "app/StatusBar.h"
#include "app/ToolBarRows.h"
#include "document/ImageWindow.h"
#include "effects/dialogs/EffectDialog.h"
#include "output/OutputServices.h"
#include "platform/Clipboard.h"
#include "platform/MemoryRelease.h"
#include "platform/Prompter.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/SettingsFile.h"
#include "registry/EffectRegistry.h"
#include "tools/dialogs/ColourPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <exception>

// The icons live in a static library; its resources must be registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(pixoran3);
}

namespace px {

namespace {
QString utf8(const char* s)
{
    return QString::fromUtf8(s);
}

// A themed icon when the desktop theme has one, else the program's own,
// drawn from its SVG source at every size and scale.
QIcon toolIcon(const char* themeName, const char* file)
{
    QIcon own(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(file)));
    return *themeName ? QIcon::fromTheme(QLatin1String(themeName), own) : own;
}

// The smallest sub-window of `area` whose title bar shows its icon, some of
// its caption and its buttons: what the toolkit asks of a frame around an
// empty widget (it asks nothing of a frame outside an area).
QSize usableFrameSize(QMdiArea* area)
{
    QMdiSubWindow probe(area);
    probe.setWidget(new QWidget);
    return probe.minimumSizeHint();
}

QToolBar* makeToolBar(QMainWindow* window, const char* name, const QString& title)
{
    auto* bar = new QToolBar(title, window);
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(22, 22));
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

// The tool bar's button for an action gets the action's name as well, and
// starts raised: Options > "&Boutons 3D" makes the buttons flat.
void nameButton(QToolBar* bar, QAction* a)
{
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
        button->setObjectName(a->objectName());
        button->setAutoRaise(false);
    }
}
} // namespace

MainWindow::MainWindow(Session& session, SettingsFile& settings, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), session_(session), settings_(settings), options_(std::move(options)),
      commands_(CommandTable::standard()), effects_(makeEffectRegistry())
{
    initResources();
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Pixoran3"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/pixoran3.svg")));
    resize(541, 408);
    runModal = [this](QDialog& dialog) { return execCentred(dialog, *this); };

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("ClientArea"));
    mdiArea_->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(mdiArea_);
    setAcceptDrops(true);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);

    statusBar_ = new StatusBar(this);
    setStatusBar(statusBar_);

    buildMenus();
    buildToolBars();
    buildColourPanel();

    outputServices_ = OutputServices::system(this);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kTimerInterval);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::timerTick);
    timer1_->start();

    registerFileCommands(*this);
    registerOpenCommands(*this);
    registerSaveCommands(*this);
    registerRecentFileCommands(*this);
    registerAutosave(*this);
    registerOptionsCommands(*this);
    registerViewCommands(*this);
    registerWindowCommands(*this);
    registerHelpCommands(*this);
    registerMacroCommands(*this);
    registerInformationCommands(*this);
    registerFormatCommands(*this);
    registerPreviewCommand(*this);
    registerNewImageCommand(*this);
    registerUndoCommands(*this);
    registerEffectCommands(*this);
    registerToolCommands(*this);
    registerClipboardCommands(*this);
    registerEffectsIndexCommand(*this);
    registerPrintCommands(*this);
    registerCaptureCommands(*this);
    registerScanCommands(*this);

    createStartupDialogs();
    applyNoImageState();

    recentFiles_ = std::make_unique<RecentFiles>();
    recentFiles_->load(settings_);
    recentFiles_->removeStaleTemporaryFiles();
    recentFiles_->showInMenu([this](std::string_view name) { return action(name); });
}

// The recent files go back to the settings file when they changed.
MainWindow::~MainWindow()
{
    try {
        recentFiles_->save(settings_);
    } catch (const std::exception& e) {
        session_.prompter.error(e.what());
    }
}

void MainWindow::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    buildMenuBar(commands_, menuBar(), actions_, menus_);
    connectSharedShortcuts(commands_, actions_, this);
    connect(menu("Fichier1"), &QMenu::aboutToShow, this, &MainWindow::fileMenuOpening);
    connect(menu("Edition1"), &QMenu::aboutToShow, this, &MainWindow::editMenuOpening);
    connect(menu("Environnement1"), &QMenu::aboutToShow, this, &MainWindow::optionsMenuOpening);
}

void MainWindow::buildToolBars()
{
    panel1_ = makeToolBar(this, "Panel1", QStringLiteral("Palette principale"));
    for (const ToolButtonRow& row : mainToolBarRows()) {
        auto* a = new QAction(toolIcon(row.themeIcon, row.iconFile), utf8(row.hint), panel1_);
        a->setObjectName(QLatin1String(row.objectName));
        a->setToolTip(utf8(row.hint));
        a->setStatusTip(utf8(row.hint));
        a->setEnabled(row.enabledAtStart);
        std::string command = row.command;
        connect(a, &QAction::triggered, this, [this, command] { commands_.run(command); });
        panel1_->addAction(a);
        nameButton(panel1_, a);
        actions_.emplace(row.objectName, a);
    }

    panel2_ = makeToolBar(this, "Panel2", QStringLiteral("Palette d'outils"));
    toolGroup_ = new QActionGroup(panel2_);
    toolGroup_->setExclusive(true);
    for (const DrawingToolRow& row : drawingToolRows()) {
        auto* a = new QAction(toolIcon("", row.iconFile), utf8(row.hint), panel2_);
        a->setObjectName(QLatin1String(row.objectName));
        a->setToolTip(utf8(row.hint));
        a->setStatusTip(utf8(row.hint));
        a->setCheckable(true);
        a->setChecked(row.id == 0);
        toolGroup_->addAction(a);
        const int id = row.id;
        const std::string name = row.objectName;
        connect(a, &QAction::triggered, this, [this, id, name] {
            if (auto it = toolHandlers_.find(name); it != toolHandlers_.end() && it->second)
                it->second();
            else
                selectTool(id);
        });
        panel2_->addAction(a);
        nameButton(panel2_, a);
        actions_.emplace(row.objectName, a);
    }

    // PopupMenu1 of the tool palette: "&Options d'outils", the same command as
    // the Image menu's item.
    auto* popup = new QMenu(panel2_);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* options = popup->addAction(QStringLiteral("&Options d'outils"));
    options->setObjectName(QStringLiteral("Optionsdoutils2"));
    connect(options, &QAction::triggered, this, [this] { commands_.run("Optionsdoutils1"); });
    actions_.emplace("Optionsdoutils2", options);
    for (QToolBar* bar : {panel1_, panel2_}) {
        connect(bar, &QToolBar::visibilityChanged, this, &MainWindow::arrangeToolBars);
        connect(bar, &QToolBar::topLevelChanged, this, &MainWindow::arrangeToolBars);
    }
    panel2_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(panel2_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& pos) { popup->popup(panel2_->mapToGlobal(pos)); });
}

void MainWindow::buildColourPanel()
{
    colourDock_ = new QDockWidget(QStringLiteral("Palette de couleurs"), this);
    colourDock_->setObjectName(QStringLiteral("Panel3Dock"));
    colourDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    // No title bar: an empty widget in its place. Without a layout its size
    // hint would be (-1, -1), and the dock's minimum height would come out
    // negative (a warning at every start).
    auto* noTitle = new QWidget(colourDock_);
    auto* noTitleLayout = new QHBoxLayout(noTitle);
    noTitleLayout->setContentsMargins(0, 0, 0, 0);
    colourDock_->setTitleBarWidget(noTitle);
    colourPanel_ = new ColourPanel(session_, colourDock_);
    colourPanel_->activeImage = [this] { return activeImageWindow(); };
    colourDock_->setWidget(colourPanel_);
    addDockWidget(Qt::RightDockWidgetArea, colourDock_);
}

void MainWindow::createStartupDialogs()
{
    auto add = [this](const std::string& name, QDialog* dialog) {
        if (!dialog || dialogs_.count(name))
            return;
        dialog->setObjectName(QString::fromStdString(name));
        dialogs_.emplace(name, dialog);
    };
    auto effectDialog = [this](std::string_view form) -> QDialog* {
        for (const EffectCommand& row : effects_.all())
            if (row.dialog == form)
                return createEffectDialog(row, session_.prompter, this);
        return nullptr;
    };
    for (const StartupDialog& entry : startupDialogs())
        add(entry.objectName, entry.create ? entry.create(*this) : effectDialog(entry.objectName));
    // The dialog of an effect row that the ordered list does not name comes
    // after the listed ones.
    for (const EffectCommand& row : effects_.all())
        if (!row.dialog.empty() && !dialogs_.count(row.dialog))
            add(row.dialog, createEffectDialog(row, session_.prompter, this));
}

QAction* MainWindow::action(std::string_view objectName) const
{
    auto it = actions_.find(objectName);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(std::string_view objectName) const
{
    auto it = menus_.find(objectName);
    return it == menus_.end() ? nullptr : it->second;
}

bool MainWindow::runEffect(std::string_view name, std::span<const int> values)
{
    return px::runEffect(*this, name, values);
}

QDialog* MainWindow::dialog(std::string_view objectName) const
{
    auto it = dialogs_.find(objectName);
    return it == dialogs_.end() ? nullptr : it->second;
}

ImageWindow* MainWindow::activeImageWindow() const
{
    QMdiSubWindow* sub = mdiArea_->activeSubWindow();
    if (!sub)
        sub = mdiArea_->currentSubWindow();
    return sub ? qobject_cast<ImageWindow*>(sub->widget()) : nullptr;
}

QList<ImageWindow*> MainWindow::imageWindows() const
{
    QList<ImageWindow*> windows;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (auto* w = qobject_cast<ImageWindow*>(sub->widget()))
            windows.append(w);
    return windows;
}

QMdiSubWindow* MainWindow::addImageWindow(ImageWindow* window)
{
    window->setViewOptionsSource([this] { return viewOptions(); });
    window->saveHandler = [this, window] { return saveDocument ? saveDocument(*window) : true; };
    connect(window, &ImageWindow::closed, this, &MainWindow::applyNoImageState);
    // Once the window and its document are gone, their memory goes back to
    // the system rather than staying with the program.
    connect(window, &QObject::destroyed, this, [] { returnFreedMemory(); });
    // What the tools ask of the main window.
    connect(window, &ImageWindow::undoStateSaved, this, [this] { syncUndoControls(*this); });
    connect(window, &ImageWindow::toolMessage, this,
            [this](const QString& text) { statusBar_->setPanelText(0, text); });
    connect(window, &ImageWindow::colourReadOut, colourPanel_, &ColourPanel::showReadOut);
    connect(window, &ImageWindow::coloursChanged, colourPanel_, &ColourPanel::refresh);
    connect(window, &ImageWindow::mousePositionChanged, this,
            [this](int x, int y) { statusBar_->setPanelText(3, QStringLiteral("Position : (%1, %2)").arg(x).arg(y)); });
    connect(window, &ImageWindow::popupOptionTriggered, this, [this](const QString& name) {
        if (QAction* a = action(name.toStdString()))
            a->trigger();
    });
    // The sub-window keeps the image window's own size (the form's size,
    // grown by the opening commands) around it.
    const QSize wanted = window->size();
    QMdiSubWindow* sub = mdiArea_->addSubWindow(window);
    const QMargins frame = sub->contentsMargins();
    // However small the image (a "Nouveau..." image may be 0 pixels wide),
    // the frame keeps its title bar and buttons within reach.
    sub->setMinimumSize(usableFrameSize(mdiArea_));
    sub->resize(wanted.grownBy(frame));
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    sub->show();
    mdiArea_->setActiveSubWindow(sub);
    syncUndoControls(*this);
    return sub;
}

void MainWindow::subWindowActivated(QMdiSubWindow* sub)
{
    // A null activation also comes when the whole main window loses focus
    // (a dialog opens); only a closing image window leaves the image state.
    if (!sub)
        return;
    applyImageOpenState();
    if (auto* w = qobject_cast<ImageWindow*>(sub->widget())) {
        w->applyViewOptions(viewOptions());
        statusBar_->setPanelText(1, w->filePath());
    }
}

bool MainWindow::closeAllImageWindows()
{
    QList<QPointer<QMdiSubWindow>> windows;
    const QList<QMdiSubWindow*> stack = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        windows.append(*it);
    for (const QPointer<QMdiSubWindow>& sub : windows)
        if (sub && !sub->close())
            return false;
    return true;
}

ViewOptions MainWindow::viewOptions() const
{
    auto ticked = [this](std::string_view name) {
        QAction* a = action(name);
        return a && a->isChecked();
    };
    ViewOptions o;
    o.panelRight = ticked("Droite1");
    o.whiteCrossHair = ticked("Blanc1");
    o.overview = ticked("Vuedensemble1");
    o.panelVisible = ticked("Visible1");
    o.crossCursor = ticked("Curseuraxial1");
    return o;
}

void MainWindow::timerTick()
{
    if (QAction* paste = action("Collerbut"))
        paste->setEnabled(clipboardHasImage());
    if (ImageWindow* image = activeImageWindow())
        image->toolTimerTick();
}

bool MainWindow::clipboardHasImage() const
{
    return session_.clipboard.hasImage();
}

void MainWindow::selectTool(int id)
{
    for (const DrawingToolRow& row : drawingToolRows())
        if (row.id == id) {
            statusBar_->setPanelText(2, utf8(row.statusText));
            session_.currentTool = id;
            return;
        }
}

void MainWindow::setToolHandler(std::string_view buttonName, std::function<void()> handler)
{
    toolHandlers_[std::string(buttonName)] = std::move(handler);
}

bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        statusBar_->showHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void MainWindow::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (shown_)
        return;
    shown_ = true;
    formShow();
    // The tip of the day comes once the window has painted itself.
    QMetaObject::invokeMethod(this, &MainWindow::firstPaint, Qt::QueuedConnection);
}

// The main window's close box, and "&Quitter": every image window is asked to
// close through its own save question; a refusal keeps the program running.
void MainWindow::closeEvent(QCloseEvent* e)
{
    if (!closeAllImageWindows()) {
        e->ignore();
        return;
    }
    e->accept();
}

namespace {
// The local files of a drag, in the order they were dragged.
QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}
} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    if (!droppedFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* e)
{
    if (!droppedFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

// The files open after the drop has ended, so that the source of the drag is
// not kept waiting by an error message.
void MainWindow::dropEvent(QDropEvent* e)
{
    const QStringList files = droppedFiles(e->mimeData());
    if (files.isEmpty())
        return;
    e->acceptProposedAction();
    QMetaObject::invokeMethod(
        this,
        [this, files] {
            for (const QString& file : files)
                openImageFile(file);
        },
        Qt::QueuedConnection);
}

void MainWindow::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    arrangeToolBars();
}

// The two tool bars share the top row while it holds them both. On a
// narrower window (a screen scaled to 2, where the window is 640 pixels wide
// for the toolkit) the drawing tools get a row of their own rather than hide
// behind the tool bar's "»" button. A row the user arranged is left alone.
void MainWindow::arrangeToolBars()
{
    if (!panel1_ || !panel2_)
        return;
    const bool together = toolBarArea(panel1_) == Qt::TopToolBarArea && toolBarArea(panel2_) == Qt::TopToolBarArea &&
                          !panel1_->isFloating() && !panel2_->isFloating() && !panel1_->isHidden() &&
                          !panel2_->isHidden();
    const int margin = 8;
    const bool fit = panel1_->sizeHint().width() + panel2_->sizeHint().width() + margin <= width();
    if (together && !fit && !toolBarBreak(panel2_)) {
        insertToolBarBreak(panel2_);
        toolBarBreakAdded_ = true;
    } else if (toolBarBreakAdded_ && (fit || !together) && toolBarBreak(panel2_)) {
        removeToolBarBreak(panel2_);
        toolBarBreakAdded_ = false;
    }
}

} // namespace px
