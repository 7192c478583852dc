#pragma once

namespace px {

// Starts the editor: the application object, the main window, the event loop.
// argv[1], when present, names an image to open.
int runEditor(int argc, char** argv);

} // namespace px
