#pragma once
// The tool engine's interface. A drawing tool is a small class behind Tool:
// it receives mouse events already translated into image pixels (ToolEvent)
// together with everything it may touch (ToolContext), draws through the
// document's canvas and returns the rectangle it changed. No widget is
// involved, so every tool is tested on a bitmap; the image window translates
// Qt's events and repaints only what a tool reports.
//
// Tools are application-wide objects (one tool is selected for the whole
// program), so state that belongs to the whole application, such as the
// spray's, lives in the tool; what belongs to one image window (the stroke
// and the floating picture) lives in that window's ToolState and reaches the
// tool through the context.
#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/CanvasTypes.h"
#include "graphics/Colour.h"
#include "graphics/Damage.h"

#include <optional>
#include <string>

namespace px {

class Clipboard;
class Prompter;
class RandomGenerator;
struct ToolOptions;

// One mouse event over the document, in image pixels. During a drag that
// started on the image the pointer may leave it: positions are then outside
// the bitmap (negative or too large) and passed on unchanged, the canvas
// clips what is drawn there.
struct ToolEvent {
    enum Button : unsigned { NoButton = 0, Left = 1, Right = 2, Middle = 4 };
    enum Modifier : unsigned { NoModifier = 0, Shift = 1, Control = 2, Alt = 4 };

    int x = 0;
    int y = 0;
    // The button pressed or released by this event; NoButton for a move.
    Button button = NoButton;
    // Every button down after the event (a press includes its own button, a
    // release no longer holds its). Tools that follow "the left button is
    // down" test this, not `button`.
    unsigned buttons = NoButton;
    unsigned modifiers = NoModifier;

    bool holds(Button b) const { return (buttons & b) != 0; }
    bool has(Modifier m) const { return (modifiers & m) != 0; }

    // The drawing buttons held, left first: a tool runs its set-up for each,
    // so with both down the right button's runs last.
    struct Held {
        Button list[2];
        int count = 0;
        const Button* begin() const { return list; }
        const Button* end() const { return list + count; }
    };
    Held drawingButtons() const
    {
        Held held{};
        for (const Button b : {Left, Right})
            if (holds(b))
                held.list[held.count++] = b;
        return held;
    }
};

// A picture shown over the document without being part of it: the pasted
// image before it is dropped, the text before it is placed. The document
// view paints it over the bitmap; a tool moves it by changing `topLeft` and
// reporting the old and new areas as changed.
struct FloatingImage {
    bool shown = false;
    Bitmap image;  // 24 bits
    Point topLeft; // in image pixels; it may reach past the document
    // Pixels of this colour are not shown (a text's background).
    std::optional<Colour> transparent;

    Rect area() const { return {topLeft.x, topLeft.y, topLeft.x + image.width(), topLeft.y + image.height()}; }
};

// Who receives the moves and the release of a press: the tool that took it,
// or one of the floating pictures, which catch clicks on themselves whatever
// tool is selected.
enum class PressOwner { None, Tool, Paste, Text };

// What a tool keeps for one image window between events.
struct ToolState {
    bool strokeActive = false;    // a press is in progress (StrokeActive)
    Point startPoint;             // where the press began (StartPoint)
    Point endPoint;               // latest drag position, far corner of a rubber band (EndPoint)
    bool whitePenPreview = false; // a white figure's rubber band is drawn black (WhitePenPreview)

    // "Sélection": the picture as it was at the press (SelectionBackup) and
    // the rectangle of the last rubber band as dragged, not normalised
    // (SelectionRect: x1, y1, x2, y2 in left, top, right, bottom).
    Bitmap selectionBackup;
    Rect selectionRect;

    // The pasted picture waiting to be dropped (pPaste and imPaste).
    FloatingImage floating;
    // Where the pointer holds the pasted picture while it is dragged.
    std::optional<Point> pasteGrip;

    // The text waiting to be placed (imText) and TextPlacing.
    FloatingImage text;
    bool textPlacing = false;

    PressOwner pressOwner = PressOwner::None;
};

// The program around a tool, for what is not pixels: the undo history, the
// status bar, the colour panel.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // SaveUndoState: snapshot of the document before the tool changes it;
    // the undo controls follow.
    virtual void saveUndoState() = 0;
    // A message in the status bar's first panel (UTF-8).
    virtual void showMessage(const std::string& text) = 0;
    // The colour read-out of the colour panel shows this colour.
    virtual void showColourReadOut(Colour colour) = 0;
    // The drawing colours change (the swatches follow).
    virtual void setMainColour(Colour colour) = 0;
    virtual void setBackgroundColour(Colour colour) = 0;
};

// Everything a tool may use while it handles one event. Built afresh for
// every event by the image window it concerns.
struct ToolContext {
    Bitmap& document;
    // The document's canvas: pen, brush, mix mode and position persist from
    // one event to the next and from one tool to the next.
    Canvas& canvas;
    ToolState& state;
    // The drawing colours when the event arrived: the left button paints
    // with the main colour, the right button with the background colour.
    Colour mainColour;
    Colour backgroundColour;
    const ToolOptions& options;
    Clipboard& clipboard;
    Prompter& prompter;
    RandomGenerator& random;
    ToolHost& host;

    // The colour of a button: main for Left, background for Right, main otherwise.
    Colour colourOf(ToolEvent::Button button) const
    {
        return button == ToolEvent::Right ? backgroundColour : mainColour;
    }
};

// Each handler returns the part of the view to repaint, in image pixels: the
// document pixels it changed (the canvas's lastDamage() of each call it
// made, so that an outline repaints as thin bands) and, when it changed or
// moved a floating picture, that picture's old and new areas. Empty when
// nothing changed.
class Tool {
public:
    virtual ~Tool() = default;
    // A button went down over the document.
    virtual Damage press(const ToolEvent& event, const ToolContext& context) = 0;
    // The pointer moved over the document, with or without a button down, or
    // anywhere during a drag that began on it.
    virtual Damage move(const ToolEvent&, const ToolContext&) { return {}; }
    // A button went up; it reaches the window that had the press.
    virtual Damage release(const ToolEvent&, const ToolContext&) { return {}; }
    // A tick of the main window's timer while this tool is selected, on the
    // active image window.
    virtual Damage timerTick(const ToolContext&) { return {}; }
};

} // namespace px
