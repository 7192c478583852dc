#pragma once
// The choices of the new-image dialog: background colour names, image
// types, which colours each type offers, and the memory estimate text.
#include "graphics/Colour.h"

#include <optional>
#include <string>
#include <vector>

namespace px {

struct NamedColour {
    const char* name;
    Colour colour;
};

// The sixteen named colours, in list order ("Aqua" to "Violet").
const std::vector<NamedColour>& namedBackgroundColours();

inline constexpr const char* kMainColourName = "Principale";
inline constexpr const char* kBackgroundColourName = "Fond";

// The colour a name stands for: one of the sixteen, or the current main /
// background colour for "Principale" / "Fond"; nothing for another text.
std::optional<Colour> backgroundColourFor(const std::string& name, Colour mainColour, Colour backgroundColour);

// The image types in list order with their bits per pixel.
struct ImageType {
    const char* text;
    int bitsPerPixel;
};
const std::vector<ImageType>& imageTypes();
std::optional<int> bitsPerPixelFor(const std::string& typeText);

inline constexpr const char* kDefaultWidth = "320";
inline constexpr const char* kDefaultHeight = "200";
inline constexpr const char* kDefaultBackground = "Blanc";
inline constexpr const char* kDefaultType = "16.7 millions de couleurs (24 bit)";

// The colour names the list offers for a type; nothing for an unknown type
// (the list is then left as it is).
std::optional<std::vector<std::string>> coloursOfferedFor(const std::string& typeText);

// Memory needed for a w x h image at three bytes a pixel: "187 Ko", "2 Mo",
// "300 octets".
std::string memoryEstimateText(long long width, long long height);

// The standard string-to-integer conversion of the dialog: a text that is
// not a whole number gives 0.
long long numberOrZero(const std::string& text);

} // namespace px
