#pragma once
// Macro files: the effect commands applied to an image in the editor,
// written as the batch command line's own options, one per line, so that
// `pixoran3 --macro FILE INPUT OUTPUT` replays them:
//
//   # a comment
//   --main-colour RRGGBB          the colours from here on
//   --background-colour RRGGBB
//   --seed N                      the generator's state before the next step
//   --apply NAME[=VALUES]         one effect command
//
// Blank lines and lines starting with '#' are ignored. In a macro, --seed and
// the colours take effect where they stand (on the command line they hold
// from the start).
#include "batch/BatchRequest.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace px {

// What was applied to one document since it was opened or created, beside
// its undo history: every snapshot of the document has a step here (a step
// without a command for what a macro cannot replay: a tool's stroke, a
// command that changed nothing). Undo moves the last step aside, redo brings
// it back, a new step forgets the undone ones.
class MacroRecord {
public:
    // A snapshot was taken: its step, not replayable until setLast says
    // what the command applied.
    void snapshotTaken(std::string note);
    void setLast(BatchStep step);
    void undone();
    void redone();
    void clear();

    // The steps applied and not undone, in order.
    const std::vector<BatchStep>& steps() const { return done_; }

private:
    std::vector<BatchStep> done_;
    std::vector<BatchStep> undone_;
};

// The text of a macro of `steps`; a step without a command becomes a
// comment line with its note. `title` is the first comment line.
std::string macroText(const std::vector<BatchStep>& steps, const std::string& title);

// The steps of a macro's text. Throws UsageError naming the line at fault.
std::vector<BatchStep> parseMacro(const EffectRegistry& registry, std::string_view text);

// The steps of a macro file. Throws UsageError when the file cannot be read
// or holds a line that is not a step.
std::vector<BatchStep> readMacroFile(const EffectRegistry& registry, const std::filesystem::path& path);

} // namespace px
