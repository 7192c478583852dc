#include "batch/Macro.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

namespace px {

namespace {

std::string colourText(Colour c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
    return text;
}

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::string macroText(const std::vector<BatchStep>& steps, const std::string& title)
{
    std::string text = "# " + title + "\n";
    text += "# Les outils de dessin suivent la souris : leurs tracés ne sont pas enregistrés.\n";
    // Both colours are written before the first step that has them, so that
    // the macro does not depend on the command line's colours.
    std::optional<Colour> main, background;
    for (const BatchStep& step : steps) {
        if (!step.command) {
            text += "# (" + (step.note.empty() ? std::string("étape non enregistrable") : step.note) + ")\n";
            continue;
        }
        if (step.mainColour && step.mainColour != main) {
            main = step.mainColour;
            text += "--main-colour " + colourText(*main) + "\n";
        }
        if (step.backgroundColour && step.backgroundColour != background) {
            background = step.backgroundColour;
            text += "--background-colour " + colourText(*background) + "\n";
        }
        if (step.seed)
            text += "--seed " + std::to_string(*step.seed) + "\n";
        text += "--apply " + stepText(*step.command, step.values) + "\n";
    }
    return text;
}

void MacroRecord::snapshotTaken(std::string note)
{
    undone_.clear();
    done_.push_back(BatchStep{.note = std::move(note)});
}

void MacroRecord::setLast(BatchStep step)
{
    if (!done_.empty())
        done_.back() = std::move(step);
}

void MacroRecord::undone()
{
    if (done_.empty())
        return;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
}

void MacroRecord::redone()
{
    if (undone_.empty())
        return;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
}

void MacroRecord::clear()
{
    done_.clear();
    undone_.clear();
}

std::vector<BatchStep> parseMacro(const EffectRegistry& registry, std::string_view text)
{
    std::vector<BatchStep> steps;
    BatchStep pending;
    std::istringstream lines{std::string(text)};
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t space = line.find_first_of(" \t");
        const std::string_view option = line.substr(0, space);
        const std::string_view value =
            space == std::string_view::npos ? std::string_view() : trimmed(line.substr(space));
        const auto fault = [&](const std::string& why) {
            return UsageError{"macro, ligne " + std::to_string(number) + " : " + why};
        };
        try {
            if (option == "--apply") {
                BatchStep step = parseStep(registry, value);
                step.seed = pending.seed;
                step.mainColour = pending.mainColour;
                step.backgroundColour = pending.backgroundColour;
                pending = BatchStep{};
                steps.push_back(std::move(step));
            } else if (option == "--seed") {
                pending.seed = parseSeed(value);
                if (!pending.seed)
                    throw fault("--seed attend un nombre de 0 à 4294967295 : " + std::string(value));
            } else if (option == "--main-colour" || option == "--background-colour") {
                const auto colour = parseColour(value);
                if (!colour)
                    throw fault(std::string(option) + " attend une couleur RRGGBB : " + std::string(value));
                (option == "--main-colour" ? pending.mainColour : pending.backgroundColour) = colour;
            } else {
                throw fault("option inattendue : " + std::string(line));
            }
        } catch (const UsageError& e) {
            if (e.message.starts_with("macro, ligne "))
                throw;
            throw fault(e.message);
        }
    }
    return steps;
}

std::vector<BatchStep> readMacroFile(const EffectRegistry& registry, const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError{"fichier macro illisible : " + path.string()};
    std::ostringstream text;
    text << in.rdbuf();
    return parseMacro(registry, text.str());
}

} // namespace px
