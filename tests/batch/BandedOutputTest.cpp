// A turn as the last batch step is written a band at a time, straight into
// the output's writer: its files must be the very bytes of the turned image
// made whole and then saved.
#include "batch/BatchRequest.h"
#include "batch/CommandLine.h"
#include "effects/EffectFrame.h"
#include "fileio/BmpFile.h"
#include "fileio/ImageFormats.h"
#include "registry/EffectRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace px {
namespace {

Bitmap noise(int w, int h, int depth)
{
    Bitmap b = test::noise(w, h, unsigned(w * 31 + h));
    b.setPixelFormat(depth);
    return b;
}

struct Case {
    const char* step;
    int depth; // of the input, which the turn reads as 24 bits
    int width, height;
};

// Rows 21847 pixels wide go 32 to a band, so the large images take three
// bands, the last one short; the small ones fit in one.
const Case kCases[] = {
    {"Rotation3=Droite,90", 24, 67, 21847},  {"Rotation3=Gauche,90", 24, 67, 21847},
    {"Rotation3=Droite,180", 24, 21847, 67}, {"Rotation3=Gauche,Libre,33", 24, 21847, 67},
    {"Rotation3=Gauche,90", 8, 37, 23},      {"Rotation3=Droite,90", 4, 5, 3},
    {"Rotation3=Droite,180", 1, 31, 17},     {"Rotation3=Droite,Libre,-100", 8, 19, 11},
};

TEST(BandedOutput, TurnsWrittenBandByBandGiveTheFilesOfTheWholeTurnedImage)
{
    const EffectRegistry registry = makeEffectRegistry();
    const Colour background = makeColour(0x1E, 0xC8, 0x0A);
    test::TempDir dir;
    for (const Case& c : kCases) {
        const std::string input = dir.file("in.bmp").string();
        writeBmpFile(input, noise(c.width, c.height, c.depth));
        // The image turned whole, as a step that is not the last one is.
        const BatchStep step = parseStep(registry, c.step);
        Bitmap turned = readImageFile(input);
        EffectScratch scratch;
        applyEffect(*step.command, turned, EffectContext{.backgroundColour = background}, step.values, scratch);
        for (const char* extension : {"bmp", "tif", "png", "tga", "jpg"}) {
            SCOPED_TRACE(std::string(c.step) + " " + std::to_string(c.depth) + " bits " + std::to_string(c.width) +
                         " x " + std::to_string(c.height) + " ." + extension);
            const auto banded = dir.file(std::string("banded.") + extension);
            const auto whole = dir.file(std::string("whole.") + extension);
            std::ostringstream out, err;
            ASSERT_EQ(
                runCommandLine({"--background-colour", "1EC80A", "--apply", c.step, input, banded.string()}, out, err),
                0)
                << err.str();
            writeImageFile(whole, turned, SaveOptions{});
            const std::string expected = test::readText(whole);
            ASSERT_FALSE(expected.empty());
            EXPECT_TRUE(test::readText(banded) == expected);
        }
    }
}

} // namespace
} // namespace px
