#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "fileio/ImageFormats.h"
#include "fileio/PcxFile.h"
#include "fileio/TargaFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace px {
namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& data)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

struct NameCase {
    const char* name;
    SaveFormat format;
    const char* written;
};

class SaveDispatch : public ::testing::TestWithParam<NameCase> {};

TEST_P(SaveDispatch, PicksWriterAndName)
{
    EXPECT_EQ(saveFormatFor(GetParam().name), GetParam().format);
    EXPECT_EQ(savedPathFor(fs::path("/d") / GetParam().name), fs::path("/d") / GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Names, SaveDispatch,
                         ::testing::Values(NameCase{"a.bmp", SaveFormat::Bmp, "a.bmp"},
                                           NameCase{"a.JpA", SaveFormat::Jpeg, "a.JpA"},
                                           NameCase{"a.jpe", SaveFormat::Jpeg, "a.jpe"},
                                           NameCase{"a.jpeg", SaveFormat::Jpeg, "a.jpeg"},
                                           NameCase{"a.JPG", SaveFormat::Jpeg, "a.JPG"},
                                           NameCase{"a.png", SaveFormat::Png, "a.png"},
                                           NameCase{"a.tga", SaveFormat::Targa, "a.tga"},
                                           NameCase{"scan.TIF", SaveFormat::Tiff, "scan.tif"},
                                           NameCase{"scan.TiFF", SaveFormat::Tiff, "scan.tiff"},
                                           NameCase{"a.gif", SaveFormat::Gif, "a.gif"},
                                           NameCase{"a.pcx", SaveFormat::None, "a.pcx"},
                                           NameCase{"noext", SaveFormat::None, "noext"}));

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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 5);
}

} // namespace
} // namespace px
