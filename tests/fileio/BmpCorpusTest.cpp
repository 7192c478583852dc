// BMP files written by other programs (the shared corpus; skipped when
// PIXORAN3_CORPUS is unset).
#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace px {
namespace {

struct Row {
    std::string file;
    std::string variant;
    std::string size; // "WxH", or a note for broken files
};

std::vector<Row> bmpRows(const std::filesystem::path& corpus)
{
    std::vector<Row> rows;
    std::ifstream in(corpus / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cols;
        std::stringstream ss(line);
        for (std::string c; std::getline(ss, c, '\t');)
            cols.push_back(c);
        if (cols.size() < 8)
            continue;
        std::string lower = cols[0];
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower.ends_with(".bmp") || lower.ends_with(".dib") || lower.ends_with(".rle"))
            rows.push_back({cols[0], cols[5], cols[7]});
    }
    return rows;
}

// Broken files that still give a size in the manifest. Some are refused on
// purpose: an unknown header layout, and a top-down RLE image. The others
// decode: RLE runs past the edge are cut, indices past the palette are black.
const std::set<std::string> kRefusedDespiteASize = {"bmp/pil_badheadersize.bmp", "bmp/pil_rletopdown.bmp"};
// Questionable files that are refused: pixel data in another file format.
const std::set<std::string> kRefusedQuestionable = {"bmp/pil_rgb24jpeg.bmp", "bmp/pil_rgb24png.bmp"};

TEST(BmpCorpus, EveryFileLoadsWithItsSizeOrIsRefusedCleanly)
{
    const auto corpus = test::corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const auto rows = bmpRows(corpus);
    ASSERT_GE(rows.size(), 60u);
    int loaded = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file + " (" + row.variant + ")");
        const bool hasSize = row.size.find('x') != std::string::npos && row.size.find("n/a") == std::string::npos;
        const bool refuse = !hasSize || kRefusedDespiteASize.count(row.file) || kRefusedQuestionable.count(row.file);
        try {
            const Bitmap b = readBmpFile(corpus / row.file);
            EXPECT_FALSE(refuse) << "accepted";
            EXPECT_EQ(std::to_string(b.width()) + "x" + std::to_string(b.height()), row.size);
            ++loaded;
        } catch (const InvalidImageError& e) {
            EXPECT_TRUE(refuse) << "refused: " << e.detail();
        }
    }
    EXPECT_GE(loaded, 50);
}

Bitmap asTrueColour(const std::filesystem::path& file)
{
    Bitmap b = readBmpFile(file);
    b.setPixelFormat(24);
    return b;
}

// Files that store one picture in several ways decode to the same pixels.
class BmpCorpusSamePicture : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(BmpCorpusSamePicture, AllVariantsGiveIdenticalPixels)
{
    const auto corpus = test::corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const auto& files = GetParam();
    const Bitmap reference = asTrueColour(corpus / files[0]);
    for (std::size_t i = 1; i < files.size(); ++i) {
        const Bitmap other = asTrueColour(corpus / files[i]);
        EXPECT_TRUE(other == reference) << files[i] << " differs from " << files[0] << "; "
                                        << test::dumpMismatch(std::filesystem::path(files[i]).stem(), other, reference);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, BmpCorpusSamePicture,
    ::testing::Values(std::vector<const char*>{"bmp/pil_pal8.bmp", "bmp/pil_pal8-0.bmp", "bmp/pil_pal8topdown.bmp",
                                               "bmp/pil_pal8rle.bmp", "bmp/pil_pal8v4.bmp", "bmp/pil_pal8v5.bmp",
                                               "bmp/pil_pal8os2.bmp", "bmp/pil_pal8os2v2.bmp", "bmp/pil_pal8offs.bmp",
                                               "bmp/pil_pal8oversizepal.bmp"},
                      std::vector<const char*>{"bmp/pil_rgb24.bmp", "bmp/pil_rgb32.bmp", "bmp/pil_rgb32bf.bmp",
                                               "bmp/pil_rgb32fakealpha.bmp"},
                      std::vector<const char*>{"bmp/pil_pal4.bmp", "bmp/pil_pal4rle.bmp"},
                      std::vector<const char*>{"bmp/pil_pal1.bmp", "bmp/pil_pal1wb.bmp"},
                      std::vector<const char*>{"generated/im_bmp_pal8.bmp", "generated/im_bmp_rle8.bmp"},
                      std::vector<const char*>{"generated/im_bmp_24.bmp", "generated/im_bmp_os2.bmp"},
                      std::vector<const char*>{"generated/nb_bmp4.bmp", "generated/nb_bmp_os2.bmp"}));

} // namespace
} // namespace px
