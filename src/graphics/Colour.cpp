#include "graphics/Colour.h"

#include <cstdio>

namespace px {

std::string colourHexText(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", redOf(colour), greenOf(colour), blueOf(colour));
    return text;
}

} // namespace px
