#pragma once
// TForm1, the main window: the menu bar built from the command table, the
// two tool bars, the colour panel, the MDI area of the image windows and the
// status bar. It switches between its two states (no image, image open) as
// image windows are activated and closed, and owns the start-up dialogs.
//
// The handlers of the commands live beside their features; they reach the
// window through the public interface below.
#include "app/CommandTable.h"
#include "document/Session.h"
#include "effects/Effect.h"
#include "effects/EffectFrame.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class QAction;
class QActionGroup;
class QDialog;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace px {

class ColourPanel;
class ImageWindow;
struct OutputServices;
class RecentFiles;
class SettingsFile;
class StatusBar;

struct MainWindowOptions {
    QString programDir;  // folder of astuces.txt and aide/: the executable's folder
    QString startupFile; // the first command-line parameter, or empty
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Timer1's period. The clipboard watch needs no more than a few checks a
    // second; a 1 ms timer would only burn the processor.
    static constexpr int kTimerInterval = 100;

    MainWindow(Session& session, SettingsFile& settings, MainWindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    SettingsFile& settings() { return settings_; }
    const MainWindowOptions& options() const { return options_; }

    CommandTable& commands() { return commands_; }
    // The menu item, tool-bar button or other action of that objectName.
    QAction* action(std::string_view objectName) const;
    QMenu* menu(std::string_view objectName) const;

    QMdiArea* mdiArea() const { return mdiArea_; }
    StatusBar* statusPanels() const { return statusBar_; }
    QToolBar* mainToolBar() const { return panel1_; }
    QToolBar* toolPalette() const { return panel2_; }
    QDockWidget* colourDock() const { return colourDock_; }
    ColourPanel* colourPanel() const { return colourPanel_; }
    QTimer* timer1() const { return timer1_; }

    // The start-up dialog of that objectName ("TForm6"), or null.
    QDialog* dialog(std::string_view objectName) const;

    // The printer, screen and scanner services; tests replace them.
    OutputServices& outputServices() { return *outputServices_; }

    // Every effect row of the program; their menu handlers run them.
    const EffectRegistry& effects() const { return effects_; }
    // Runs the effect row `name` with `values` on the active image window
    // inside the effect frame (undo snapshot, repaint, overview); false when
    // nothing ran or the routine failed (the failure is shown).
    bool runEffect(std::string_view name, std::span<const int> values = {});
    // Work bitmaps reused by the effect commands.
    EffectScratch& effectScratch() { return effectScratch_; }

    // Image windows.
    ImageWindow* activeImageWindow() const;
    QList<ImageWindow*> imageWindows() const;
    // Wraps the window in a sub-window of the MDI area and shows it.
    QMdiSubWindow* addImageWindow(ImageWindow* window);
    // OpenImageFile: opens any supported image file into a new image window
    // (caption, LabelIm, status panel, cascade, overview) and adds it to the
    // recent files. A file that cannot be read is reported to the user with
    // the program's message and leaves no window; returns null then.
    ImageWindow* openImageFile(const QString& path);

    // The recent files of the "&Fichier" menu; addRecentFile is AddRecentFile
    // (the list and its menu items).
    RecentFiles& recentFiles() { return *recentFiles_; }
    void addRecentFile(const QString& path);

    // The two states of the window.
    bool imageOpen() const { return imageOpen_; }
    void applyImageOpenState();
    void applyNoImageState();

    // The view options as the "&Image" menu's ticks say.
    ViewOptions viewOptions() const;

    // Asks every image window to close, front-most first; stops at the first
    // one that refuses (a Cancel in its save question). True when all closed.
    bool closeAllImageWindows();

    // Menu-opening handlers.
    void fileMenuOpening();    // Fichier1Click
    void editMenuOpening();    // Edition1Click
    void optionsMenuOpening(); // Environnement1Click

    // Timer1: the paste button follows the clipboard; the current tool gets
    // its tick on the active image window (the spray paints there).
    void timerTick();
    bool clipboardHasImage() const;

    // Drawing-tool buttons: the default handler selects the tool (status
    // panel 2 and session.currentTool); a tool that does more replaces it.
    void selectTool(int id);
    void setToolHandler(std::string_view buttonName, std::function<void()> handler);

    // Shows a dialog modally and returns its result. Tests replace it to
    // answer dialogs without an event loop.
    std::function<int(QDialog&)> runModal;
    // Saves the document of a closing window after a Yes to the save
    // question; true when saved. Null until the save command exists, in
    // which case the close goes ahead.
    std::function<bool(ImageWindow&)> saveDocument;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyImageState(bool open);
    void buildMenus();
    void buildToolBars();
    void buildColourPanel();
    void createStartupDialogs();
    void formShow();
    void firstPaint();
    void subWindowActivated(QMdiSubWindow* window);

    Session& session_;
    SettingsFile& settings_;
    MainWindowOptions options_;
    CommandTable commands_;
    EffectRegistry effects_;
    EffectScratch effectScratch_;
    std::unique_ptr<RecentFiles> recentFiles_;
    std::unique_ptr<OutputServices> outputServices_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::map<std::string, QMenu*, std::less<>> menus_;
    std::map<std::string, QDialog*, std::less<>> dialogs_;
    std::map<std::string, std::function<void()>, std::less<>> toolHandlers_;

    QMdiArea* mdiArea_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QToolBar* panel1_ = nullptr;
    QToolBar* panel2_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    QDockWidget* colourDock_ = nullptr;
    ColourPanel* colourPanel_ = nullptr;
    QTimer* timer1_ = nullptr;

    bool imageOpen_ = false;
    bool shown_ = false;
    bool firstPaintPending_ = true;
    bool showTipAtStart_ = false;
};

} // namespace px
