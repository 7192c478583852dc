#pragma once
// A font as the drawing layer and the font dialog exchange it.
#include "graphics/Colour.h"

#include <string>

namespace px {

struct FontSpec {
    std::string family = "DejaVu Sans";
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Colour colour = kBlack;

    bool operator==(const FontSpec&) const = default;
};

} // namespace px
