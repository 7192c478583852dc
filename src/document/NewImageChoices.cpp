#include "document/NewImageChoices.h"

#include <charconv>

namespace px {

const std::vector<NamedColour>& namedBackgroundColours()
{
    static const std::vector<NamedColour> colours = {
        {"Aqua", makeColour(0, 255, 255)},       {"Blanc", makeColour(255, 255, 255)},
        {"Bleu", makeColour(0, 0, 255)},         {"Bleu marrine", makeColour(0, 0, 128)},
        {"Fuchsia", makeColour(255, 0, 255)},    {"Gris", makeColour(128, 128, 128)},
        {"Gris clair", makeColour(192, 192, 192)}, {"Jaune", makeColour(255, 255, 0)},
        {"Marron", makeColour(128, 0, 0)},       {"Noir", makeColour(0, 0, 0)},
        {"Rouge", makeColour(255, 0, 0)},        {"Sarcelle", makeColour(0, 128, 128)},
        {"Vert", makeColour(0, 128, 0)},         {"Vert olive", makeColour(128, 128, 0)},
        {"Vert tilleul", makeColour(0, 255, 0)}, {"Violet", makeColour(128, 0, 128)},
    };
    return colours;
}

std::optional<Colour> backgroundColourFor(const std::string& name, Colour mainColour, Colour backgroundColour)
{
    if (name == kMainColourName)
        return mainColour;
    if (name == kBackgroundColourName)
        return backgroundColour;
    for (const auto& c : namedBackgroundColours())
        if (name == c.name)
            return c.colour;
    return std::nullopt;
}

const std::vector<ImageType>& imageTypes()
{
    static const std::vector<ImageType> types = {
        {"2 couleurs (1 bit)", 1},
        {"16 couleurs (4 bit)", 4},
        {"256 couleurs (8 bit)", 8},
        {"16.7 millions de couleurs (24 bit)", 24},
    };
    return types;
}

std::optional<int> bitsPerPixelFor(const std::string& typeText)
{
    for (const auto& t : imageTypes())
        if (typeText == t.text)
            return t.bitsPerPixel;
    return std::nullopt;
}

std::optional<std::vector<std::string>> coloursOfferedFor(const std::string& typeText)
{
    const auto bpp = bitsPerPixelFor(typeText);
    if (!bpp)
        return std::nullopt;
    if (*bpp == 1)
        return std::vector<std::string>{"Blanc", "Noir"};
    std::vector<std::string> names;
    for (const auto& c : namedBackgroundColours())
        names.push_back(c.name);
    if (*bpp >= 8) {
        names.push_back(kMainColourName);
        names.push_back(kBackgroundColourName);
    }
    return names;
}

std::string memoryEstimateText(long long width, long long height)
{
    const long long n = width * height * 3;
    std::string text = n < 1048576 ? std::to_string(n / 1024) + " Ko" : std::to_string(n / 1048576) + " Mo";
    if (n < 1024)
        text = std::to_string(n) + " octets";
    return text;
}

long long numberOrZero(const std::string& text)
{
    long long value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return (ec == std::errc() && ptr == end) ? value : 0;
}

} // namespace px
