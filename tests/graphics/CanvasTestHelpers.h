#pragma once
// Grid comparison for the canvas tests: the colours used in the ASCII
// diagrams and a check that writes both images out on a mismatch.
#include "graphics/Bitmap.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace px::test {

inline constexpr Colour kRed = makeColour(255, 0, 0);
inline constexpr Colour kGreen = makeColour(0, 255, 0);
inline constexpr Colour kBlue = makeColour(0, 0, 255);
inline constexpr Colour kGrey = makeColour(128, 128, 128);

// '.' white, '#' black, 'r' red, 'g' green, 'b' blue, 'x' grey.
inline std::initializer_list<std::pair<char, Colour>> canvasLegend()
{
    static const std::initializer_list<std::pair<char, Colour>> legend = {
        {'r', kRed}, {'g', kGreen}, {'b', kBlue}, {'x', kGrey}};
    return legend;
}

inline Bitmap grid(std::initializer_list<const char*> rows)
{
    return fromAscii(rows, canvasLegend());
}

inline Bitmap white(int w, int h)
{
    Bitmap b(w, h, 24);
    b.fill(kWhite);
    return b;
}

// Bitmap equality with both pictures in the message and on disk.
inline ::testing::AssertionResult sameImage(const std::string& name, const Bitmap& actual, const Bitmap& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": got\n"
                                         << toAscii(actual, canvasLegend()) << "expected\n"
                                         << toAscii(expected, canvasLegend()) << dumpMismatch(name, actual, expected);
}

} // namespace px::test
