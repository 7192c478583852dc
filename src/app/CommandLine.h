#pragma once
// The non-interactive part of the command line: --help, --batch, and later
// --apply and --list-commands. Uses no widgets and needs no display.
#include <optional>

namespace px {

// Handles the arguments when they ask for a non-interactive run and returns
// the exit code; returns nothing when the editor should start.
std::optional<int> runCommandLine(int argc, char** argv);

} // namespace px
