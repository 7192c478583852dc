// The real-world files of the corpus (PIXORAN3_CORPUS; skipped when unset):
// every good file loads at its listed size, every damaged one is refused
// cleanly or decoded as far as its data goes, and files of the same picture
// agree.
#include "codecs/ImageFileError.h"
#include "fileio/BmpFile.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace px {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string file;
    std::string variant;
    std::string size; // "WxH", or a note for broken files
    std::string identify;
};

std::vector<Entry> manifest()
{
    std::vector<Entry> out;
    std::ifstream in(test::corpusDir() / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cols;
        std::stringstream ss(line);
        for (std::string col; std::getline(ss, col, '\t');)
            cols.push_back(col);
        if (cols.size() >= 10)
            out.push_back({cols[0], cols[5], cols[7], cols[9]});
    }
    return out;
}

// Broken BMP files that still give a size in the manifest. Some are refused
// on purpose: an unknown header layout, a top-down RLE image, pixel data in
// another file format. The others decode: RLE runs past the edge are cut,
// indices past the palette are black.
const std::set<std::string> kBmpRefusedDespiteASize = {"bmp/pil_badheadersize.bmp", "bmp/pil_rletopdown.bmp",
                                                       "bmp/pil_rgb24jpeg.bmp", "bmp/pil_rgb24png.bmp"};

bool isDamaged(const Entry& e)
{
    static const std::regex marks("BAD|broken|TRUNCATED|truncated|fuzz|bomb|CORRUPT|crash", std::regex::icase);
    return std::regex_search(e.variant, marks) || e.identify.find("cannot read") != std::string::npos;
}

TEST(Corpus, GoodFilesLoadAtTheirSizeDamagedOnesFailCleanly)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const std::regex bmpName(".*\\.(bmp|dib|rle)", std::regex::icase);
    const std::regex otherFolders("^(png|pcx|tga|tiff|gif|jpeg)/.*");
    const std::regex wxh("^\\d+x\\d+$");
    int bmpFiles = 0, bmpLoaded = 0, othersLoaded = 0;
    for (const Entry& e : manifest()) {
        const bool bmp = std::regex_match(e.file, bmpName);
        if (!bmp && (!std::regex_match(e.file, otherFolders) || e.file.ends_with(".txt") || e.file.ends_with(".gif87")))
            continue; // not image files the program opens
        SCOPED_TRACE(e.file + " (" + e.variant + ")");
        const fs::path path = test::corpusDir() / e.file;
        const bool sized = std::regex_match(e.size, wxh);
        bmpFiles += bmp;
        if (!bmp && (isDamaged(e) || !sized)) { // any clean outcome will do
            try {
                (void)readImageFile(path);
            } catch (const InvalidImageError&) {
            } catch (const BitmapError&) {
            }
            continue;
        }
        // Four 1-bit planes, and an 8-bit file without its palette trailer:
        // layouts the PCX reader does not take (empty image).
        if (e.file == "pcx/pil_p_4_planes.pcx" || e.file == "pcx/pil_01r_00.pcx") {
            EXPECT_TRUE(readImageFile(path).isEmpty());
            continue;
        }
        const bool refuse = bmp && (!sized || kBmpRefusedDespiteASize.count(e.file));
        try {
            const Bitmap b = bmp ? readBmpFile(path) : readImageFile(path);
            EXPECT_FALSE(refuse) << "accepted";
            EXPECT_EQ(std::to_string(b.width()) + "x" + std::to_string(b.height()), e.size);
            ++(bmp ? bmpLoaded : othersLoaded);
        } catch (const InvalidImageError& err) {
            EXPECT_TRUE(refuse) << "refused: " << err.detail();
        }
    }
    EXPECT_GE(bmpFiles, 60);
    EXPECT_GE(bmpLoaded, 50);
    EXPECT_GT(othersLoaded, 200);
}

Bitmap asTrueColour(const fs::path& file)
{
    Bitmap b = readImageFile(test::corpusDir() / file);
    b.setPixelFormat(24);
    return b;
}

// Files that store one picture in several ways decode to the same pixels as
// the first of their group.
class CorpusSamePicture : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CorpusSamePicture, AllVariantsGiveIdenticalPixels)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const auto& files = GetParam();
    const Bitmap reference = asTrueColour(files[0]);
    for (std::size_t i = 1; i < files.size(); ++i) {
        const Bitmap other = asTrueColour(files[i]);
        EXPECT_TRUE(other == reference) << files[i] << " differs from " << files[0] << "; "
                                        << test::dumpMismatch(fs::path(files[i]).stem(), other, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, CorpusSamePicture,
    ::testing::Values(std::vector<std::string>{"bmp/pil_pal8.bmp", "bmp/pil_pal8-0.bmp", "bmp/pil_pal8topdown.bmp",
                                               "bmp/pil_pal8rle.bmp", "bmp/pil_pal8v4.bmp", "bmp/pil_pal8v5.bmp",
                                               "bmp/pil_pal8os2.bmp", "bmp/pil_pal8os2v2.bmp", "bmp/pil_pal8offs.bmp",
                                               "bmp/pil_pal8oversizepal.bmp"},
                      std::vector<std::string>{"bmp/pil_rgb24.bmp", "bmp/pil_rgb32.bmp", "bmp/pil_rgb32bf.bmp",
                                               "bmp/pil_rgb32fakealpha.bmp"},
                      std::vector<std::string>{"bmp/pil_pal4.bmp", "bmp/pil_pal4rle.bmp"},
                      std::vector<std::string>{"bmp/pil_pal1.bmp", "bmp/pil_pal1wb.bmp"},
                      std::vector<std::string>{"generated/im_bmp_pal8.bmp", "generated/im_bmp_rle8.bmp"},
                      std::vector<std::string>{"generated/im_bmp_24.bmp", "generated/im_bmp_os2.bmp"},
                      std::vector<std::string>{"generated/nb_bmp4.bmp", "generated/nb_bmp_os2.bmp"}));

// 16-bit files (5 or 6 bits a channel) of a picture also stored in 24 bits:
// every pixel within the quantisation step of the 24-bit one. Rows of those
// widths are padded, so a reader that lost track of the padding would be far
// off on almost every row.
class SixteenBitsMatchTwentyFour : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(SixteenBitsMatchTwentyFour, WithinAFewLevels)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const Bitmap sixteen = asTrueColour(GetParam().first);
    const Bitmap reference = asTrueColour(GetParam().second);
    ASSERT_EQ(sixteen.width(), reference.width());
    ASSERT_EQ(sixteen.height(), reference.height());
    int worst = 0;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width() * 3; ++x)
            worst = std::max(worst, std::abs(int(sixteen.row(y)[x]) - int(reference.row(y)[x])));
    // A 5-bit channel keeps steps of 255 / 31, about 8 levels.
    EXPECT_LE(worst, 8) << test::dumpMismatch(fs::path(GetParam().first).stem(), sixteen, reference);
}

INSTANTIATE_TEST_SUITE_P(Bmp, SixteenBitsMatchTwentyFour,
                         ::testing::Values(std::pair{"bmp/pil_rgb16.bmp", "bmp/pil_rgb24.bmp"},
                                           std::pair{"bmp/pil_rgb16-565.bmp", "bmp/pil_rgb24.bmp"},
                                           std::pair{"generated/im_bmp_565.bmp", "generated/im_bmp_24.bmp"}));

// Targa files of the same picture as a PNG reference: true-colour files are
// exact; grey and palette files pass through the 6-bit colour-map stage.
class TargaMatchesPng : public ::testing::TestWithParam<std::string> {};

TEST_P(TargaMatchesPng, InEveryStorageOrder)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const std::string kind = GetParam();
    Bitmap reference = readImageFile(test::corpusDir() / ("tga/pil_200x32_" + kind + ".png"));
    // Grey files get the ramp entry c * 63 / 255, palette files c >> 2;
    // both are shown times 4.
    for (int y = 0; kind != "rgb" && y < reference.height(); ++y) {
        std::uint8_t* p = reference.row(y);
        for (int i = 0; i < reference.width() * 3; ++i)
            p[i] = std::uint8_t((kind == "l" ? p[i] * 63 / 255 : p[i] >> 2) * 4);
    }
    for (const char* variant : {"bl_raw", "bl_rle", "tl_raw", "tl_rle"}) {
        const Bitmap b = asTrueColour("tga/pil_200x32_" + kind + "_" + variant + ".tga");
        EXPECT_TRUE(b == reference) << variant << " " << test::dumpMismatch("tga_" + kind, b, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, TargaMatchesPng, ::testing::Values("rgb", "l", "p"));

} // namespace
} // namespace px
