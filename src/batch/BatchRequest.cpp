#include "batch/BatchRequest.h"

#include "effects/EffectFrame.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <type_traits>

namespace px {

namespace {

// A whole number as people write it: decimal digits with an optional sign;
// a leading '+' is accepted for every number, a '-' only where T is signed.
template <typename T> std::optional<T> parseNumber(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end || *begin < '0' || *begin > '9') {
        if (!(std::is_signed_v<T> && begin == text.data() && begin != end && *begin == '-'))
            return std::nullopt;
    }
    T value{};
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

int parseValue(const EffectCommand& command, const EffectParameter& p, std::string_view text)
{
    switch (p.kind) {
    case EffectParameter::Kind::Colour:
        if (const auto c = parseColour(text))
            return int(*c);
        throw UsageError{"couleur RRGGBB attendue pour " + p.name + " de " + command.name + " : " + std::string(text)};
    case EffectParameter::Kind::Choice:
        for (std::size_t i = 0; i < p.choices.size(); ++i)
            if (lower(p.choices[i]) == lower(text))
                return int(i);
        throw UsageError{"choix inconnu pour " + p.name + " de " + command.name + " : " + std::string(text)};
    case EffectParameter::Kind::Integer:
        break;
    }
    const auto value = parseNumber<int>(text);
    if (!value)
        throw UsageError{"nombre entier attendu pour " + p.name + " de " + command.name + " : " + std::string(text)};
    return *value;
}

std::string colourText(Colour c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
    return text;
}

} // namespace

std::optional<Colour> parseColour(std::string_view text)
{
    if (text.size() != 6)
        return std::nullopt;
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + 6, value, 16);
    if (ec != std::errc() || ptr != text.data() + 6)
        return std::nullopt;
    // RRGGBB as written by people; the program's colour value is $00BBGGRR.
    return makeColour(int(value >> 16) & 0xFF, int(value >> 8) & 0xFF, int(value) & 0xFF);
}

std::optional<std::uint32_t> parseSeed(std::string_view text)
{
    return parseNumber<std::uint32_t>(text);
}

BatchStep parseStep(const EffectRegistry& registry, std::string_view argument)
{
    const std::size_t eq = argument.find('=');
    const std::string name(argument.substr(0, eq));
    const EffectCommand* command = registry.find(name);
    if (!command)
        throw UsageError{"commande inconnue : " + name};
    BatchStep step{.command = command};
    if (eq != std::string_view::npos) {
        std::string_view rest = argument.substr(eq + 1);
        std::size_t index = 0;
        while (true) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = rest.substr(0, comma);
            if (index >= command->parameters.size())
                throw UsageError{"trop de valeurs pour " + name};
            step.values.push_back(parseValue(*command, command->parameters[index++], item));
            if (comma == std::string_view::npos)
                break;
            rest = rest.substr(comma + 1);
        }
    }
    if (const std::string problem = checkEffectValues(*command, step.values); !problem.empty())
        throw UsageError{problem};
    return step;
}

std::string stepText(const EffectCommand& command, const std::vector<int>& values)
{
    std::string text = command.name;
    for (std::size_t i = 0; i < values.size() && i < command.parameters.size(); ++i) {
        const EffectParameter& p = command.parameters[i];
        text += i == 0 ? "=" : ",";
        switch (p.kind) {
        case EffectParameter::Kind::Colour:
            text += colourText(Colour(values[i]));
            break;
        case EffectParameter::Kind::Choice:
            text += std::size_t(values[i]) < p.choices.size() ? p.choices[std::size_t(values[i])]
                                                              : std::to_string(values[i]);
            break;
        case EffectParameter::Kind::Integer:
            text += std::to_string(values[i]);
            break;
        }
    }
    return text;
}

} // namespace px
