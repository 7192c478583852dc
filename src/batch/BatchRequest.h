#pragma once
// What a batch command line asks for, read from its arguments: the effect
// steps, the colours, the seed, and the files (one input and one output, or
// many inputs and an output folder).
#include "effects/Effect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace px {

// One effect command with its values. A step of a macro file may first set
// the generator's state and the two colours, as they were when the command
// was applied in the editor. A step without a command stands for a drawing
// tool's stroke, which a macro cannot replay.
struct BatchStep {
    const EffectCommand* command = nullptr;
    std::vector<int> values;
    std::optional<std::uint32_t> seed;
    std::optional<Colour> mainColour;
    std::optional<Colour> backgroundColour;
    // Without a command: what the step was ("un tracé d'outil de dessin").
    std::string note;
};

struct BatchRequest {
    std::vector<BatchStep> steps;
    Colour mainColour = kBlack;
    Colour backgroundColour = kWhite;
    std::optional<std::uint32_t> seed;
    std::vector<std::string> files;
    // Folder mode (--output-dir): every file is an input, written into this
    // folder under its own name, with --output-format's extension or its own.
    std::string outputDir;
    std::string outputFormat;
    int jobs = 0; // workers of the folder mode; 0: one per core
};

// A wrong argument (or a wrong line of a macro file): the message; the
// command line shows it with the usage and exits with 2.
struct UsageError {
    std::string message;
};

// "RRGGBB" as people write it, to the program's colour value.
std::optional<Colour> parseColour(std::string_view text);
// "NAME[=V1,V2,...]": a command of the registry with values that fit it.
BatchStep parseStep(const EffectRegistry& registry, std::string_view text);
// The same step written back: "NAME" or "NAME=V1,V2" (colours as RRGGBB,
// choices by name), so that parseStep(stepText(s)) gives s again.
std::string stepText(const EffectCommand& command, const std::vector<int>& values);
// A whole number as people write it, with an optional leading '+'.
std::optional<std::uint32_t> parseSeed(std::string_view text);

} // namespace px
