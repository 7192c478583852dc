#pragma once
// The buttons of the two tool bars, as data: Panel1 (file, edit and view
// commands, each one calling its menu command) and Panel2 (the drawing
// tools, one exclusive group).
#include <span>

namespace px {

struct ToolButtonRow {
    const char* objectName;
    const char* hint;
    const char* command;   // objectName of the menu command it runs
    bool enabledAtStart;
    const char* themeIcon; // freedesktop icon name, "" when none fits
    const char* iconFile;  // our own icon in the resources, used when the theme has none
};

struct DrawingToolRow {
    int id;                 // CurrentTool value
    const char* objectName;
    const char* hint;
    const char* statusText; // status panel 2 while the tool is selected
    const char* iconFile;
};

// Panel1, left to right.
std::span<const ToolButtonRow> mainToolBarRows();
// Panel2, left to right; the first one (Lignebut) is pressed at start.
std::span<const DrawingToolRow> drawingToolRows();

} // namespace px
