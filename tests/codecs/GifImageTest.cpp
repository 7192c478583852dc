#include "codecs/GifImage.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

namespace px {
namespace {

using test::Bytes;

int appendOutput(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct Frame {
    int left, top, width, height;
    bool interlace;
    Bytes pixels; // rows in display order
};

// Writes a GIF with giflib's encoder: a 4-colour global map (black, red,
// green, blue), the given screen and background, one frame and an optional
// transparent index.
Bytes makeGif(int screenW, int screenH, int background, const Frame& f, int transparent = -1)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendOutput, &error);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenW, screenH, 2, background, map);
    if (transparent >= 0) {
        GifByteType ext[4] = {1, 0, 0, GifByteType(transparent)};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr);
    std::vector<int> order;
    if (f.interlace) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int y = start[p]; y < f.height; y += step[p])
                order.push_back(y);
    } else {
        for (int y = 0; y < f.height; ++y)
            order.push_back(y);
    }
    for (const int y : order) {
        Bytes row(f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
        EGifPutLine(gif, row.data(), f.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TEST(GifRead, FirstFrameAtItsOwnSizeWithTransparency)
{
    // Screen 3 x 2, background index 2 (green); a 2 x 1 frame at (1, 1)
    // with pixels red and transparent (index 3): the result is the frame.
    const Bytes file = makeGif(3, 2, 2, Frame{1, 1, 2, 1, false, {1, 3}}, 3);
    const Bitmap b = decodeGif(file);
    ASSERT_EQ(b.width(), 2);
    ASSERT_EQ(b.height(), 1);
    ASSERT_EQ(b.bitsPerPixel(), 8);
    EXPECT_EQ(b.pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(b.pixel(1, 0), makeColour(0, 255, 0));
}

TEST(GifRead, InterlacedRowsComeBackInOrder)
{
    Bytes pixels;
    for (int y = 0; y < 9; ++y)
        pixels.push_back(std::uint8_t(y % 4));
    EXPECT_EQ(test::indicesOf(decodeGif(makeGif(1, 9, 0, Frame{0, 0, 1, 9, true, pixels}))), "0|1|2|3|0|1|2|3|0");
}

TEST(GifRead, FrameLargerThanScreenIsShownWhole)
{
    EXPECT_EQ(test::indicesOf(decodeGif(makeGif(2, 1, 0, Frame{1, 0, 3, 2, false, {1, 2, 3, 3, 2, 1}}))), "123|321");
}

TEST(GifRead, DamagedFilesRaiseInvalidImage)
{
    const Bytes file = makeGif(4, 4, 0, Frame{0, 0, 4, 4, false, Bytes(16, 1)});
    for (const std::size_t keep : {std::size_t(0), std::size_t(6), std::size_t(13), file.size() - 6})
        EXPECT_THROW(decodeGif(Bytes(file.begin(), file.begin() + std::ptrdiff_t(keep))), InvalidImageError) << keep;
    // Image of 65535 x 65535: refused before anything is allocated. The
    // image descriptor follows the 13-byte screen and the 12-byte map.
    Bytes huge = file;
    ASSERT_EQ(huge[25], 0x2C);
    huge[30] = huge[31] = huge[32] = huge[33] = 0xFF;
    EXPECT_THROW(decodeGif(huge), InvalidImageError);
}

} // namespace
} // namespace px
