// The texts of "&Informations..." and "&Temps de téléchargements...".
#include "fileio/ImageInformation.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>

namespace px {
namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& path, std::size_t count)
{
    std::ofstream(path, std::ios::binary) << std::string(count, 'x');
}

struct SizeCase {
    std::uint64_t bytes;
    const char* text;
};

class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, WholeUnitsRoundedDown)
{
    EXPECT_EQ(SizeText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeTextTest,
                         ::testing::Values(SizeCase{0, "0 octets"}, SizeCase{1023, "1023 octets"},
                                           SizeCase{1024, "1 Ko"}, SizeCase{1500, "1 Ko"}, SizeCase{1048575, "1023 Ko"},
                                           SizeCase{1048576, "1 Mo"}, SizeCase{3000000, "2 Mo"},
                                           SizeCase{5ull << 40, "5242880 Mo"}));

// 1,000,000,000 seconds after the epoch is 9 September 2001, 01:46:40 UTC.
TEST(FileFactsTest, SizeAndLastWriteOfAFileZeroWithout)
{
    test::TempDir dir;
    const fs::path file = dir.file("a.png");
    writeBytes(file, 1500);
    const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    const std::string oldTz = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "UTC", 1);
    tzset();
    const LocalDateTime date = FileDateOf(file);
    const LocalDateTime missingDate = FileDateOf(dir.file("parti.png"));
    oldTz.empty() ? unsetenv("TZ") : setenv("TZ", oldTz.c_str(), 1);
    tzset();

    EXPECT_EQ(FileSizeOf(file), 1500u);
    EXPECT_EQ(date, (LocalDateTime{2001, 9, 9, 1, 46, 40}));
    EXPECT_EQ(FileSizeOf(dir.file("parti.png")), 0u);
    EXPECT_EQ(missingDate, (LocalDateTime{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(FileSizeOf(dir.path()), 0u) << "a folder has no size";
    EXPECT_EQ(FileSizeOf(""), 0u);
}

TEST(InformationReportTest, NewImageIsEstimatedFromItsPixels)
{
    ImageFacts image{.newImage = true, .caption = "Image", .path = "Image", .width = 640, .height = 480};
    InformationReport r = informationReport(image);
    EXPECT_EQ(r.width, "640");
    EXPECT_EQ(r.height, "480");
    EXPECT_EQ(r.name, "Image");
    EXPECT_EQ(r.type, "Pas de format");
    EXPECT_EQ(r.bits, "24 (16.7 millions de couleurs)");
    EXPECT_EQ(r.size, "900 Ko"); // 921,600 bytes
    EXPECT_TRUE(r.notCreated);
    EXPECT_FALSE(r.modified);

    image.bitsPerPixel = 4; // 153,600 bytes
    r = informationReport(image);
    EXPECT_EQ(r.size, "150 Ko");
    EXPECT_EQ(r.bits, "4 (16 couleurs)");
    image.bitsPerPixel = 1; // 38,400 bytes
    EXPECT_EQ(informationReport(image).size, "37 Ko");
    EXPECT_EQ(downloadSize(image), 38400u);
    image.bitsPerPixel = 8;
    EXPECT_EQ(downloadSize(image), 307200u);
    image.bitsPerPixel = 16;
    EXPECT_FALSE(informationReport(image).size) << "another depth leaves the size";
    EXPECT_EQ(downloadSize(image), 0u);
}

struct TypeCase {
    const char* caption;
    int bitsPerPixel;
    const char* type; // null: name, type and depth are left as they were
    const char* bits;
};

class InformationTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(InformationTypeTest, FileReportNamesTheFormat)
{
    const TypeCase& c = GetParam();
    test::TempDir dir;
    writeBytes(dir.file(c.caption), 1023);
    const ImageFacts image{
        .caption = c.caption, .path = dir.file(c.caption), .width = 3, .height = 2, .bitsPerPixel = c.bitsPerPixel};
    const InformationReport r = informationReport(image);
    EXPECT_EQ(r.size, "1023 octets");
    EXPECT_TRUE(r.modified);
    EXPECT_FALSE(r.notCreated);
    EXPECT_EQ(r.width, "3");
    if (!c.type) {
        EXPECT_FALSE(r.name || r.type || r.bits);
        return;
    }
    EXPECT_EQ(r.name, c.caption);
    EXPECT_EQ(r.type, c.type);
    EXPECT_EQ(r.bits, c.bits);
}

constexpr const char* k24 = "24 (16.7 millions de couleurs)";

INSTANTIATE_TEST_SUITE_P(
    Extensions, InformationTypeTest,
    ::testing::Values(TypeCase{"a.BMP", 8, "OS/2 ou Windows Bitmap", "8 (256 couleurs)"},
                      TypeCase{"a.pcx", 1, "ZSoft Paintbrush", "1 (2 couleurs)"},
                      // Other rows always read 24 bits, whatever the file holds.
                      TypeCase{"a.gif", 8, "CompuServe GIF", k24}, TypeCase{"a.jpa", 24, "JPEG", k24},
                      TypeCase{"a.png", 24, "Portable Network Graphic", k24},
                      TypeCase{"a.psd", 24, "Photopshop images", k24},
                      // Without a row: the registered format's description, the bitmap's depth.
                      TypeCase{"a.tif", 1, "TIFF images", "1 (2 couleurs)"}, TypeCase{"a.TIFF", 24, "TIFF images", k24},
                      TypeCase{"a.pbm", 1, "Portable b&w images", "1 (2 couleurs)"},
                      TypeCase{"a.scr", 8, "Word 5.x screen capture images", "8 (256 couleurs)"},
                      TypeCase{"a.xyz", 24, nullptr, nullptr}, TypeCase{"sans", 24, nullptr, nullptr}),
    [](const auto& info) { return test::testName(info.param.caption); });

TEST(InformationReportTest, MissingFileReadsZero)
{
    const ImageFacts image{.caption = "parti.png", .path = "/nonexistent/parti.png", .width = 1, .height = 1};
    const InformationReport r = informationReport(image);
    EXPECT_EQ(r.size, "0 octets");
    EXPECT_EQ(r.modified, kZeroDate);
    EXPECT_EQ(downloadSize(image), 0u);
}

struct DownloadCase {
    std::uint64_t bytes;
    const char* rate;
    const char* text;
};

class DownloadTimeTest : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadTimeTest, WholeSecondsOrADashWithoutRate)
{
    EXPECT_EQ(downloadTimeText(GetParam().bytes, GetParam().rate), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rates, DownloadTimeTest,
                         ::testing::Values(DownloadCase{2000000, "10", "195 s"}, // 2,000,000 / 10,240
                                           DownloadCase{2000000, "2", "976 s"}, DownloadCase{1023, "1", "0 s"},
                                           DownloadCase{1024, "1", "1 s"}, DownloadCase{2000000, "", "-"},
                                           DownloadCase{2000000, "0", "-"}, DownloadCase{2000000, "00", "-"},
                                           DownloadCase{~0ull, "99999999999999999999999", "0 s"},
                                           DownloadCase{~0ull, "1", "18014398509481983 s"}));

} // namespace
} // namespace px
