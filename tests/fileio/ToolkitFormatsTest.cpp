// Icons, metafiles and Dr. Halo images with their palette file, opened by
// name through the format table.
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "fileio/IconFile.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace px {
namespace {

using test::Bytes;
using test::operator+;

// A 2 x 1 icon of 1 bit: colour indices 1, 0 (palette black, red), mask 0, 1.
// Pixel 0: mask 0 shows red; pixel 1: mask 1 over black shows the white
// background.
Bytes oneBitIcon()
{
    Bytes dib(40, 0);
    test::putLE(dib, 0, 40);
    test::putLE(dib, 4, 2);
    test::putLE(dib, 8, 2); // colour rows plus mask rows
    test::putLE(dib, 12, 1, 2);
    test::putLE(dib, 14, 1, 2);
    dib = dib + Bytes{0, 0, 0, 0, 0, 0, 255, 0} + Bytes{0x80, 0, 0, 0} + Bytes{0x40, 0, 0, 0};
    Bytes file(6 + 16, 0);
    test::putLE(file, 2, 1, 2);
    test::putLE(file, 4, 1, 2);
    file[6] = 2, file[7] = 1;
    test::putLE(file, 6 + 8, std::uint32_t(dib.size()));
    test::putLE(file, 6 + 12, 22);
    return file + dib;
}

TEST(Icon, DrawsTheColoursThroughTheMaskOverWhite)
{
    test::TempDir dir;
    test::writeBytes(dir.file("a.ico"), oneBitIcon());
    const Bitmap bmp = readImageFile(dir.file("a.ico"));
    ASSERT_EQ(bmp.width(), 2);
    ASSERT_EQ(bmp.height(), 1);
    EXPECT_EQ(bmp.pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(bmp.pixel(1, 0), kWhite);
    Bytes cut = oneBitIcon();
    cut.resize(cut.size() - 2);
    EXPECT_THROW(decodeIcon(cut), InvalidImageError);
}

TEST(Metafile, DrawsAtItsNaturalSizeUpToFourMegapixelsAndRefusesGarbage)
{
    const auto seed = std::filesystem::path(PIXORAN3_SOURCE_DIR) / "fuzz/seeds/fuzz_wmf/rectangle.wmf";
    const Bitmap bmp = readImageFile(seed); // 40 x 30 units at 96 an inch, a red rectangle
    ASSERT_EQ(bmp.width(), 40);
    ASSERT_EQ(bmp.height(), 30);
    EXPECT_EQ(bmp.pixel(20, 15), makeColour(255, 0, 0));
    test::TempDir dir;
    test::writeBytes(dir.file("bad.wmf"), Bytes(64, 0x41));
    EXPECT_THROW(readImageFile(dir.file("bad.wmf")), InvalidImageError);
    test::writeBytes(dir.file("any.emf"), test::readAll(seed));
    EXPECT_THROW(readImageFile(dir.file("any.emf")), InvalidImageError);
    // Declared 16000 x 8000 (the bounding box in the placeable header, at
    // 96 units an inch, with its checksum): drawn at 2896 x 1448, the most
    // pixels under 2048 x 2048 in the same proportions, the rectangle still
    // filling it.
    Bytes large = test::readAll(seed);
    const auto put16 = [&](std::size_t at, unsigned v) {
        large[at] = std::uint8_t(v & 0xFF);
        large[at + 1] = std::uint8_t(v >> 8);
    };
    put16(10, 16000);
    put16(12, 8000);
    put16(14, 96);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= unsigned(large[i]) | unsigned(large[i + 1]) << 8;
    put16(20, sum);
    test::writeBytes(dir.file("large.wmf"), large);
    const Bitmap drawn = readImageFile(dir.file("large.wmf"));
    EXPECT_EQ(drawn.width(), 2896);
    EXPECT_EQ(drawn.height(), 1448);
    EXPECT_EQ(drawn.pixel(1448, 724), makeColour(255, 0, 0));
}

TEST(HaloImage, TakesThePaletteFileBesideItWhateverItsCase)
{
    const auto seeds = std::filesystem::path(PIXORAN3_SOURCE_DIR) / "fuzz/seeds/fuzz_cut";
    test::TempDir dir;
    test::writeBytes(dir.file("PIC.CUT"), test::readAll(seeds / "w5h3.cut"));
    // Without its palette: index 3 of pixel (3, 0) is grey 3.
    EXPECT_EQ(readImageFile(dir.file("PIC.CUT")).pixel(3, 0), makeColour(3, 3, 3));
    // With it: entry i is (30 i, 255 - 30 i, 10 i) out of 255.
    test::writeBytes(dir.file("pic.pal"), test::readAll(seeds / "w5h3.pal"));
    EXPECT_EQ(readImageFile(dir.file("PIC.CUT")).pixel(3, 0), makeColour(90, 165, 30));
    EXPECT_EQ(readImageForRestore(dir.file("PIC.CUT")).pixel(3, 0), makeColour(90, 165, 30));
}

} // namespace
} // namespace px
