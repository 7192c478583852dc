#include "fileio/FileTestSupport.h"
#include "fileio/ImageFileError.h"
#include "fileio/ImageFormats.h"
#include "fileio/PcxFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace px {
namespace {

namespace fs = std::filesystem;
using test::writeBytes;

TEST(ImageFormats, ExtensionPicksTheWriterAndTheSavedName)
{
    // Name, writer, name written (TIFF files get a lower-case extension).
    const std::tuple<const char*, SaveFormat, const char*> cases[] = {
        {"a.bmp", SaveFormat::Bmp, "a.bmp"},          {"a.JpA", SaveFormat::Jpeg, "a.JpA"},
        {"a.jpe", SaveFormat::Jpeg, "a.jpe"},         {"a.jpeg", SaveFormat::Jpeg, "a.jpeg"},
        {"a.JPG", SaveFormat::Jpeg, "a.JPG"},         {"a.png", SaveFormat::Png, "a.png"},
        {"a.tga", SaveFormat::Targa, "a.tga"},        {"scan.TIF", SaveFormat::Tiff, "scan.tif"},
        {"scan.TiFF", SaveFormat::Tiff, "scan.tiff"}, {"a.gif", SaveFormat::Gif, "a.gif"},
        {"a.pcx", SaveFormat::None, "a.pcx"},         {"noext", SaveFormat::None, "noext"}};
    for (const auto& [name, format, written] : cases) {
        EXPECT_EQ(saveFormatFor(name), format) << name;
        EXPECT_EQ(savedPathFor(fs::path("/d") / name), fs::path("/d") / written);
    }
}

TEST(ImageFormats, RegistrySearchesFromTheLastEntry)
{
    EXPECT_EQ(findRegisteredFormat("PCX")->className, "TPCX");
    EXPECT_EQ(findRegisteredFormat("pcc")->className, "CodecPcx");
    EXPECT_EQ(findRegisteredFormat("gif")->className, "CodecGif");
    EXPECT_EQ(findRegisteredFormat("vst")->className, "CodecTarga");
    EXPECT_EQ(findRegisteredFormat("pbm")->description, "Portable b&w images");
    EXPECT_EQ(findRegisteredFormat("xyz"), nullptr);
}

TEST(ImageFormats, ReadDispatchByExtension)
{
    test::TempDir dir;
    const Bitmap src = test::fromAscii({"#.", ".#"});
    for (const char* name : {"a.png", "b.TGA", "c.tif", "d.TIFF", "e.bmp"}) {
        writeImageFile(dir.file(name), src, {});
        EXPECT_TRUE(readImageFile(savedPathFor(dir.file(name))) == src) << name;
    }
    writeImageFile(dir.file("f.JpG"), src, {95, true});
    EXPECT_EQ(readImageFile(dir.file("f.JpG")).width(), 2);
    // A Targa file named .vst goes to the strict class: an unknown type is an error.
    std::vector<std::uint8_t> odd(18, 0);
    odd[2] = 4;
    odd[16] = 8;
    writeBytes(dir.file("g.tga"), odd);
    writeBytes(dir.file("g.vst"), odd);
    EXPECT_EQ(readImageFile(dir.file("g.tga")).width(), 1);
    EXPECT_THROW(readImageFile(dir.file("g.vst")), InvalidImageError);
    // An invalid PCX opens as an empty image.
    writeBytes(dir.file("h.pcx"), {1, 2, 3});
    EXPECT_TRUE(readImageFile(dir.file("h.pcx")).isEmpty());
    writeBytes(dir.file("i.pcx"), encodePcx(src));
    EXPECT_TRUE(readImageFile(dir.file("i.pcx")) == src);
}

TEST(ImageFormats, NothingWrittenForGifOrUnknown)
{
    test::TempDir dir;
    writeImageFile(dir.file("a.gif"), test::fromAscii({"#"}), {});
    writeImageFile(dir.file("a.pcx"), test::fromAscii({"#"}), {});
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

class UnreadableNames : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadableNames, RaiseTheInvalidImageMessage)
{
    test::TempDir dir;
    writeBytes(dir.file(GetParam()), {'j', 'u', 'n', 'k'});
    try {
        readImageFile(dir.file(GetParam()));
        FAIL() << "no error";
    } catch (const InvalidImageError& e) {
        EXPECT_STREQ(e.what(), "Le fichier est un fichier image non valide.");
    }
}

INSTANTIATE_TEST_SUITE_P(Names, UnreadableNames,
                         ::testing::Values("noext", "a.xyz", "a.psd", "a.pcd", "a.png", "a.gif", "a.jpg", "a.tif",
                                           "a.tga", "a.bmp", "a.wmf"));

TEST(ImageFormats, FailedSaveLeavesOldFileAndNoTemporary)
{
    test::TempDir dir;
    const Bitmap src = test::fromAscii({"#."});
    for (const char* name : {"a.png", "a.jpg", "a.tga", "a.tif", "a.bmp"}) {
        writeImageFile(dir.file(name), src, {});
        const auto size = fs::file_size(dir.file(name));
        EXPECT_THROW(writeImageFile(dir.file(name), Bitmap(), {}), BitmapError) << name;
        EXPECT_EQ(fs::file_size(dir.file(name)), size) << name;
    }
    EXPECT_EQ(test::fileCount(dir.path()), 5u); // no temporary left behind
}

} // namespace
} // namespace px
