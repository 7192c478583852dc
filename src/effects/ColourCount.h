#pragma once
// "No&mbres de couleurs utilisées...": the number of distinct colours an
// image shows. Not an effect: it changes nothing and adds no undo step.
#include "graphics/Bitmap.h"

#include <string>

namespace px {

// Distinct colours of the image as displayed: indexed bitmaps are counted
// through their palette (on a 24-bit copy of their pixels). With threads > 1
// each band of rows fills its own set and the sets are merged.
int countColours(const Bitmap& bitmap, int threads = 1);

// "Le nombre de couleurs unique de cette image est de <count>."
std::string colourCountMessage(int count);

} // namespace px
