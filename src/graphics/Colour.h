#pragma once
// Colour values and the byte clamp shared by every pixel routine.
#include <cstdint>
#include <string>

namespace px {

// A packed colour $00BBGGRR: red in the low byte, as the drawing calls take it.
using Colour = std::uint32_t;

constexpr Colour makeColour(int r, int g, int b)
{
    return Colour(std::uint8_t(r)) | (Colour(std::uint8_t(g)) << 8) | (Colour(std::uint8_t(b)) << 16);
}
constexpr std::uint8_t redOf(Colour c)
{
    return std::uint8_t(c);
}
constexpr std::uint8_t greenOf(Colour c)
{
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t blueOf(Colour c)
{
    return std::uint8_t(c >> 16);
}

inline constexpr Colour kBlack = makeColour(0, 0, 0);
inline constexpr Colour kWhite = makeColour(255, 255, 255);

// "#RRGGBB" in upper-case hexadecimal, as the colour read-outs show it.
std::string colourHexText(Colour colour);

// Integer to 0..255.
constexpr std::uint8_t ClampByte(int v)
{
    return v < 0 ? 0 : v > 255 ? 255 : std::uint8_t(v);
}

} // namespace px
