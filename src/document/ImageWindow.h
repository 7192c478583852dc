#pragma once
// The image window: one open document shown at its natural size in a scroll
// area, with the side panel that holds the magnifier and the overview.
//
// The window owns its document bitmap (the picture of Image1). The main
// window wraps it in an MDI sub-window, calls the setters below when the
// window is activated or a view option changes, and sets saveHandler.
//
// The mouse over the picture drives the session's current tool on this
// window's document (see tools/Tool.h); what the tools ask of the program
// around them comes out as the signals below.
#include "batch/Macro.h"
#include "document/Session.h"
#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/ViewZoom.h"
#include "platform/qt/QtGlyphRasteriser.h"
#include "tools/Tool.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class QTimer;
class QMenu;
class QAction;
class QCloseEvent;

namespace px {

class DocumentView;
class MagnifierPanel;

class ImageWindow : public QWidget, private ToolHost {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 501;
    static constexpr int kDefaultHeight = 409;
    // The caption (and LabelIm) of a new image that has no file yet; the
    // save and restore commands tell such a window by it.
    static constexpr const char* kNewImageCaption = "Image";

    // FormCreate: clears session.noSavePrompt, becomes session.frmImage and
    // empties the undo history.
    explicit ImageWindow(Session& session, QWidget* parent = nullptr);
    ~ImageWindow() override;

    Session& session() { return session_; }

    // The document bitmap (Image1's picture). After changing its pixels call
    // documentChanged() with the changed rectangle.
    Bitmap& document() { return document_; }
    const Bitmap& document() const { return document_; }
    void setDocument(Bitmap bitmap);

    // The document canvas: its pen, brush and other state persist between
    // commands (the brush colour is what XorWithBrush inverts with).
    Canvas& canvas() { return canvas_; }

    // Repaints the changed part of the view (all of it for an empty
    // rectangle) and refreshes the overview when it is shown.
    void documentChanged(QRect changed = {});

    // The tool engine: the picture's mouse events come here. Each runs the
    // session's current tool (or the floating paste or text when the event
    // concerns them, see tools/ToolDispatch.h) with this window's document,
    // canvas and tool state, repaints what was reported changed and returns
    // that. The overview is not refreshed (the magnifier's timer does it
    // while the mouse is over the window). Nothing happens when no tool has
    // the current id. A move also reports the position, whatever the tool.
    Damage toolPress(const ToolEvent& event);
    Damage toolMove(const ToolEvent& event);
    Damage toolRelease(const ToolEvent& event);
    // A tick of the main window's timer while this window is active.
    Damage toolTimerTick();
    ToolState& toolState() { return toolState_; }
    // The context the tools get for this window (also for the commands that
    // start a floating paste).
    ToolContext toolContext();
    // Repaints the view where `changed` says (clipped to the document).
    Damage repaintTool(const Damage& changed);

    // LabelIm: the document's full path, "Image" for a new image.
    QString filePath() const;
    void setFilePath(const QString& path);

    // The JPEG quality last used to save this document (0 until saved).
    int jpegQuality() const { return jpegQuality_; }
    void setJpegQuality(int quality) { jpegQuality_ = quality; }

    // The view options of the "&Image" menu, applied on activation.
    void applyViewOptions(const ViewOptions& options);
    void setPanelRight(bool right);
    // Shows or hides the side panel and starts or stops the magnifier timer.
    void setPanelVisible(bool visible);
    void setWhiteCrossHair(bool white);
    void setOverviewVisible(bool visible);
    void setCrossCursor(bool cross);

    bool panelRight() const { return panelRight_; }
    bool panelVisible() const;
    bool magnifierRunning() const;
    bool whiteCrossHair() const;
    bool overviewVisible() const;

    // Zoom step of the magnifier, 1..7 (Slider).
    int zoomStep() const;
    void setZoomStep(int step);

    // The zoom of the view (display only: tools, magnifier and position stay
    // in image pixels). Ctrl + the mouse wheel steps through zoomSteps()
    // around the pointer, Ctrl+0 returns to 1:1.
    ZoomFactor viewZoom() const;
    // Zooms the view keeping the image point under `anchor` (a position in
    // the scroll area's viewport) where it is; without an anchor, the
    // viewport's centre.
    void setViewZoom(ZoomFactor zoom, std::optional<QPointF> anchor = std::nullopt);
    QScrollArea* scrollArea() const { return scrollBox_; }

    // One magnifier tick (Timer1Timer) for the given mouse position in
    // screen coordinates; the timer passes QCursor::pos().
    void updateMagnifier(QPoint screenPos);
    // The magnifier's current picture (Imagez), 150 x 150, 24 bits.
    const Bitmap& magnifierImage() const;

    // Called on a Yes answer to the save question; returns true when the
    // document was saved. The main window sets it.
    std::function<bool()> saveHandler;

    // Where PopupMenu1Popup copies its ticks from: the main window's menu.
    void setViewOptionsSource(std::function<ViewOptions()> source);

    // "&Nouvelle fenêtre": a new window (caption and LabelIm "Image") holding
    // a copy of this document. The caller adds it to the MDI area.
    ImageWindow* duplicate(QWidget* parent = nullptr) const;

    // TForm13: shows the bitmap unscaled from the top-left of a black,
    // borderless, maximised window until a key or mouse button is pressed.
    static void showFullScreen(const Bitmap& bitmap, QWidget* parent);

    DocumentView* view() const { return view_; }

signals:
    // A popup item of the side panel was chosen; the argument is the
    // objectName of the main window's action of the same option ("Droite1",
    // "Gauche1", "Blanc1", "Noir1", "Vuedensemble1", "Visible1").
    void popupOptionTriggered(const QString& mainActionObjectName);
    // The close was allowed (FormClose): the main window returns to its
    // no-image state.
    void closed();
    // A tool took an undo snapshot of the document: the undo controls follow.
    void undoStateSaved();
    // A tool's message for the status bar's first panel.
    void toolMessage(const QString& text);
    // A tool shows a colour in the colour read-out.
    void colourReadOut(px::Colour colour);
    // A tool changed the session's drawing colours.
    void coloursChanged();
    // The mouse moved over the picture, to this bitmap pixel.
    void mousePositionChanged(int x, int y);

protected:
    // FormCloseQuery.
    void closeEvent(QCloseEvent* event) override;
    // Ctrl + the mouse wheel over the view zooms it.
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // SaveUndoState for this document: the snapshot, and its step in the
    // macro record (not replayable until the command that took it says what
    // it applied); the undo controls follow through undoStateSaved. The
    // tools' snapshots carry the note of a stroke; a command whose change no
    // macro replays gives its own note.
    void saveUndoState() override;
    void saveUndoState(std::string macroNote);
    // The effect commands applied to this document since it was opened or
    // created, beside the undo history.
    MacroRecord& macroRecord() { return macroRecord_; }

private:
    // ToolHost.
    void showMessage(const std::string& text) override;
    void showColourReadOut(Colour colour) override;
    void setMainColour(Colour colour) override;
    void setBackgroundColour(Colour colour) override;

    void updateCursor(const ToolEvent& event);
    void resetHistories();
    void buildPopupMenu();
    void popupMenuAboutToShow();
    void refreshOverview();
    void onTimer();

    Session& session_;
    Bitmap document_;
    QtGlyphRasteriser glyphs_;
    Canvas canvas_{document_, &glyphs_};
    ToolState toolState_;
    MacroRecord macroRecord_;
    int jpegQuality_ = 0;
    bool panelRight_ = true;
    bool crossCursor_ = true; // Curseuraxial1 (else the arrow)
    DocumentView* view_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QLabel* labelIm_ = nullptr;
    MagnifierPanel* panel_ = nullptr;
    QTimer* timer_ = nullptr;
    QMenu* popup_ = nullptr;
    std::function<ViewOptions()> viewOptionsSource_;
    int wheelRemainder_ = 0; // eighths of a degree not yet turned into zoom steps
};

} // namespace px
