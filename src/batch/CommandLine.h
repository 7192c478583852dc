#pragma once
// The non-interactive part of the command line: --help, --batch, and later
// --apply and --list-commands. Uses no widgets and needs no display.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace px {

// Handles the arguments when they ask for a non-interactive run and returns
// the exit code; returns nothing when the editor should start.
std::optional<int> runCommandLine(int argc, char** argv);

// The same with the arguments after the program name and explicit streams
// for the usage text and the messages. Exit codes: 0 success, 1 failure
// (unreadable input, unwritable output), 2 wrong arguments.
std::optional<int> runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by --help and after wrong arguments.
std::string commandLineUsage();

} // namespace px
