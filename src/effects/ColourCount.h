#pragma once
// "No&mbres de couleurs utilisées...": the number of distinct colours an
// image shows. Not an effect: it changes nothing and adds no undo step.
#include "graphics/Bitmap.h"

#include <string>

namespace px {

// Distinct colours of the image as displayed: indexed bitmaps are counted
// through their palette (on a 24-bit copy of their pixels).
int countColours(const Bitmap& bitmap);

// "Le nombre de couleurs unique de cette image est de <count>."
std::string colourCountMessage(int count);

} // namespace px
