// The real-world files of the corpus (PIXORAN3_CORPUS): every good file
// loads at its listed size, every damaged one is refused cleanly or decoded
// as far as its data goes, and files of the same picture agree.
#include "fileio/ImageFileError.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace px {
namespace {

struct Entry {
    std::string file;
    std::string variant;
    std::string size;
    std::string identify;
};

std::vector<Entry> manifest()
{
    std::vector<Entry> out;
    std::ifstream in(test::corpusDir() / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> cols;
        std::stringstream ss(line);
        std::string col;
        while (std::getline(ss, col, '\t'))
            cols.push_back(col);
        if (cols.size() < 10)
            continue;
        static const std::regex folders("^(png|pcx|tga|tiff|gif|jpeg)/.*");
        if (std::regex_match(cols[0], folders))
            out.push_back({cols[0], cols[5], cols[7], cols[9]});
    }
    return out;
}

bool isDamaged(const Entry& e)
{
    static const std::regex marks("BAD|broken|TRUNCATED|truncated|fuzz|bomb|CORRUPT|crash", std::regex::icase);
    return std::regex_search(e.variant, marks) || e.identify.find("cannot read") != std::string::npos;
}

TEST(ImageCorpus, GoodFilesLoadAtTheirSizeDamagedOnesFailCleanly)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS not set";
    const std::regex wxh("^(\\d+)x(\\d+)$");
    int good = 0;
    for (const Entry& e : manifest()) {
        std::smatch m;
        const bool sized = std::regex_match(e.size, m, wxh);
        if (e.file.ends_with(".txt") || e.file.ends_with(".gif87"))
            continue; // not image names the program opens
        SCOPED_TRACE(e.file);
        if (isDamaged(e) || !sized) {
            try {
                (void)readImageFile(test::corpusDir() / e.file);
            } catch (const InvalidImageError&) {
            } catch (const BitmapError&) {
            }
            continue;
        }
        // Four 1-bit planes, and an 8-bit file without its palette trailer:
        // layouts the PCX reader does not take (empty image).
        if (e.file == "pcx/pil_p_4_planes.pcx" || e.file == "pcx/pil_01r_00.pcx") {
            EXPECT_TRUE(readImageFile(test::corpusDir() / e.file).isEmpty());
            continue;
        }
        try {
            const Bitmap b = readImageFile(test::corpusDir() / e.file);
            EXPECT_EQ(b.width(), std::stoi(m[1]));
            EXPECT_EQ(b.height(), std::stoi(m[2]));
            ++good;
        } catch (const InvalidImageError& err) {
            ADD_FAILURE() << "refused: " << err.detail();
        }
    }
    EXPECT_GT(good, 200);
}

// Targa files of the same picture as a PNG reference: true-colour files are
// exact; grey and palette files pass through the 6-bit colour-map stage.
class TargaMatchesPng : public ::testing::TestWithParam<std::string> {};

TEST_P(TargaMatchesPng, InEveryStorageOrder)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS not set";
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
        Bitmap b = readImageFile(test::corpusDir() / ("tga/pil_200x32_" + kind + "_" + variant + ".tga"));
        b.setPixelFormat(24);
        EXPECT_TRUE(b == reference) << variant << " " << test::dumpMismatch("tga_" + kind, b, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, TargaMatchesPng, ::testing::Values("rgb", "l", "p"));

} // namespace
} // namespace px
