#pragma once

namespace px {

// Starts the editor: the application object, the main window, the event loop.
// The arguments that are not the toolkit's options name images to open, each
// in its own window.
int runEditor(int argc, char** argv);

} // namespace px
