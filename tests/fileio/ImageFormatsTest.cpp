#include "fileio/ImageFormats.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "fileio/PcxFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace px {
namespace {

namespace fs = std::filesystem;
using test::writeBytes;

// The dialogs' filters, byte for byte, and the save filter's index of a name.
TEST(FormatTable, FiltersAreTheProgramsOwn)
{
    EXPECT_EQ(openFilter(),
              "Tous les fichiers supportés|*.bw;*.cel;*.cut;*.bmp;*.dib;*.emf;*.gif;*.icb;*.jpa;*.jpe;*.jpg;*.jpeg;"
              "*.pbm;*.pcc;*.pcd;*.pdd;*.pic;*.png;*.psd;*.rgb;*.rgba;*.rla;*.rle;*.rpf;*.sgi;*.tga;*.tif;*.tiff;"
              "*.vda;*.vst;*.win;*.wmf|Fichiers BMP|*.bmp|Fichiers GIF|*.gif|Fichiers JPA|*.jpa|Fichiers JPE|*.jpe"
              "|Fichiers JPEG|*.jpeg|Fichiers JPG|*.jpg|Fichiers PNG|*.png|Fichiers TGA|*.tga|Fichiers TIF|*.tif"
              "|Fichiers TIFF|*.tiff");
    EXPECT_EQ(saveFilter(), "Fichiers BMP|*.bmp|Fichiers JPA|*.jpa|Fichiers JPE|*.jpe|Fichiers JPEG|*.jpeg"
                            "|Fichiers JPG|*.jpg|Fichiers PNG|*.png|Fichiers TGA|*.tga|Fichiers TIF|*.tif"
                            "|Fichiers TIFF|*.tiff");
    const std::pair<const char*, int> indices[] = {{"a.BMP", 1},  {"a.jpa", 2}, {"a.jpeg", 4}, {"a.JpG", 5},
                                                   {"a.tiff", 9}, {"a.gif", 0}, {"a.pcx", 0},  {"Image", 0}};
    for (const auto& [name, index] : indices) {
        EXPECT_EQ(saveFilterIndex(fileFormatFor(name)), index) << name;
        if (index) {
            EXPECT_EQ(saveFilterFormat(index), &fileFormatFor(name)) << name;
        }
    }
    EXPECT_EQ(saveFilterFormat(0), nullptr);
    EXPECT_EQ(saveFilterFormat(10), nullptr);
}

// Every pattern of the open filter leads to a reader, and the rows agree
// with themselves: a refused or restored-by-own-reader row has what that needs.
TEST(FormatTable, RowsAreConsistent)
{
    for (const FileFormat& format : fileFormats()) {
        const std::string ext(format.extension);
        EXPECT_TRUE(format.read || findRegisteredFormat(ext)) << ext;
        EXPECT_EQ(&fileFormatFor("x." + ext), &format) << ext;
        EXPECT_TRUE(!format.restore.ownReader || format.read) << ext;
        EXPECT_TRUE(format.saveRefusal.empty() || !format.write) << ext;
        EXPECT_TRUE(!format.write || format.filterEntry) << ext;
    }
}

// Every writable extension, in upper case, is read back by the reader that
// opens it, under the name it was really written to.
TEST(FormatTable, EveryWriterRoundTrips)
{
    test::TempDir dir;
    const Bitmap lossless = test::fromAscii({"#..", ".#."});
    const Bitmap flat = test::fromAscii({"xxxx", "xxxx"}, {{'x', makeColour(200, 100, 50)}});
    int writers = 0;
    for (const FileFormat& format : fileFormats()) {
        if (!format.write)
            continue;
        ++writers;
        std::string upper(format.extension);
        for (char& c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        const fs::path name = dir.file("rond." + upper);
        // JPEG shares chroma between neighbours: it gets one flat colour.
        const Bitmap& src = format.jpegOptions ? flat : lossless;
        writeImageFile(name, src, {});
        const Bitmap back = readImageFile(savedPathFor(name));
        if (!format.jpegOptions) {
            EXPECT_EQ(back, src) << upper;
            continue;
        }
        ASSERT_EQ(back.width(), 4) << upper;
        for (int x = 0; x < 4; ++x) {
            const Colour c = back.pixel(x, 1);
            EXPECT_NEAR(int(redOf(c)), 200, 3) << upper;
            EXPECT_NEAR(int(greenOf(c)), 100, 3) << upper;
            EXPECT_NEAR(int(blueOf(c)), 50, 3) << upper;
        }
    }
    EXPECT_EQ(writers, 9);
}

TEST(ImageFormats, SaveRefusalAndSavedName)
{
    // Name, refused, name written (TIFF files get a lower-case extension).
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"a.JpA", false, "a.JpA"}, {"scan.TIF", false, "scan.tif"}, {"scan.TiFF", false, "scan.tiff"},
        {"a.GIF", true, "a.GIF"},  {"a.pcx", false, "a.pcx"},       {"noext", false, "noext"}};
    for (const auto& [name, refused, written] : cases) {
        EXPECT_EQ(fileFormatFor(name).saveRefusal, refused ? "Vous ne pouvez pas enregistrer un fichier GIF." : "")
            << name;
        EXPECT_EQ(savedPathFor(fs::path("/d") / name), fs::path("/d") / written);
    }
    // Nothing is written for GIF or an extension without a writer.
    test::TempDir dir;
    writeImageFile(dir.file("a.gif"), test::fromAscii({"#"}), {});
    writeImageFile(dir.file("a.pcx"), test::fromAscii({"#"}), {});
    EXPECT_TRUE(fs::is_empty(dir.path()));
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

// A Targa file named .vst goes to the strict class: an unknown type is an
// error; ".tga" is lenient when opening, strict when "&Restaurer..." reads
// it through the registered class. Only that default route (".tga" and
// names without a row of their own) puts the file back in the recent list.
TEST(ImageFormats, ReadAndRestoreRoutesByExtension)
{
    test::TempDir dir;
    const Bitmap src = test::fromAscii({"#.", ".#"});
    std::vector<std::uint8_t> odd(18, 0);
    odd[2] = 4;
    odd[16] = 8;
    writeBytes(dir.file("g.tga"), odd);
    writeBytes(dir.file("g.vst"), odd);
    EXPECT_EQ(readImageFile(dir.file("g.tga")).width(), 1);
    EXPECT_THROW(readImageFile(dir.file("g.vst")), InvalidImageError);
    EXPECT_THROW(readImageForRestore(dir.file("g.tga")), InvalidImageError);
    // An invalid PCX opens as an empty image.
    writeBytes(dir.file("h.pcx"), {1, 2, 3});
    EXPECT_TRUE(readImageFile(dir.file("h.pcx")).isEmpty());
    writeBytes(dir.file("i.pcx"), encodePcx(src));
    EXPECT_TRUE(readImageFile(dir.file("i.pcx")) == src);

    const std::pair<const char*, bool> recent[] = {{"a.TGA", true},  {"a.vst", true},  {"noext", true},
                                                   {"a.bmp", false}, {"a.Tif", false}, {"a.png", false},
                                                   {"a.gif", false}, {"a.jpeg", false}};
    for (const auto& [name, adds] : recent)
        EXPECT_EQ(fileFormatFor(name).restore.addsToRecent, adds) << name;
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
