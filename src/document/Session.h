#pragma once
// Application-wide state that the main window, the image windows, the tools
// and the commands share. One Session lives as long as the main window and
// is passed explicitly to whatever needs it (no globals).
#include "graphics/Colour.h"
#include "graphics/Random.h"
#include "graphics/SnapshotHistory.h"
#include "tools/ToolOptions.h"
#include "tools/ToolRegistry.h"

namespace px {

class Clipboard;
class Prompter;
class ShellServices;
class ImageWindow;

// The view options of the "&Image" menu. The main window's menu ticks are the
// only copy; an image window reads them when it is activated.
struct ViewOptions {
    bool panelRight = true;     // Droite1 (else Gauche1)
    bool whiteCrossHair = false; // Blanc1 (else Noir1)
    bool overview = true;       // Vuedensemble1
    bool panelVisible = true;   // Visible1
    bool crossCursor = true;    // Curseuraxial1 (else Curseurflche1)
};

struct Session {
    Session(Prompter& p, ShellServices& s, Clipboard& c) : prompter(p), shell(s), clipboard(c) {}

    Prompter& prompter;
    ShellServices& shell;
    Clipboard& clipboard;

    Colour mainColour = kBlack;       // MainColour, swatch Panel7
    Colour backgroundColour = kWhite; // BackgroundColour, swatch Panel8
    int currentTool = 0;              // CurrentTool: 0 is "Ligne"
    ToolRegistry tools;               // the tool of each CurrentTool value
    ToolOptions toolOptions;          // what the tool options window sets
    ImageWindow* frmImage = nullptr;  // FrmImage: the image window created last
    bool noSavePrompt = false;        // NoSavePrompt
    RandomGenerator random;           // the shared generator
    EditHistory history;              // the undo and redo histories of every image window
};

} // namespace px
