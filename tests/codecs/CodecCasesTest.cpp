// The hand-made files of every reader's table (the instantiations sit beside
// the files, in the readers' own test files): each gives its expected
// pixels, or is refused.
#include "codecs/CodecTestSupport.h"
#include "codecs/ImageFileError.h"

namespace px::test {

TEST_P(CodecDecode, GivesTheExpectedPixels)
{
    const DecodeCase& d = GetParam();
    Bitmap bmp;
    try {
        bmp = d.decode(d.file);
    } catch (const InvalidImageError& e) {
        FAIL() << "refused: " << e.detail();
    }
    EXPECT_EQ(bmp.bitsPerPixel(), d.bitsPerPixel);
    EXPECT_EQ(hexPixels(bmp), d.pixels);
}

TEST_P(CodecRefused, RaisesInvalidImage)
{
    EXPECT_THROW(GetParam().decode(GetParam().file), InvalidImageError);
}

} // namespace px::test
