// The codec library's formats on the real files of the corpus
// (PIXORAN3_CORPUS; skipped when unset): each file opens through the format
// table at its listed size, and where ImageMagick reads the file too, the
// pixels agree with its decoding within the stated tolerance.
#include "codecs/ImageFileError.h"
#include "fileio/FileBytes.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace px {
namespace {

namespace fs = std::filesystem;

struct CorpusCase {
    const char* file;
    int width, height;
    // Largest difference allowed in any channel against ImageMagick's
    // decoding; -1 where ImageMagick does not read the file.
    int tolerance;
};

void PrintTo(const CorpusCase& c, std::ostream* os)
{
    *os << c.file;
}

// ImageMagick's decoding of the file's first image as 8-bit RGB (alpha
// dropped), or an empty bitmap when `convert` is not available.
Bitmap decodeWithImageMagick(const fs::path& path)
{
    const std::string command = "convert '" + path.string() + "[0]' -depth 8 ppm:- 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return {};
    std::string out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    int w = 0, h = 0, maxval = 0, consumed = 0;
    if (std::sscanf(out.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &consumed) != 3 || maxval != 255)
        return {};
    const std::size_t start = std::size_t(consumed) + 1;
    if (out.size() < start + std::size_t(w) * std::size_t(h) * 3)
        return {};
    Bitmap bmp(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(out.data()) + start + (std::size_t(y) * w + x) * 3;
            bmp.setPixel(x, y, makeColour(p[0], p[1], p[2]));
        }
    return bmp;
}

int largestDifference(const Bitmap& a, const Bitmap& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(redOf(p) - redOf(q)), std::abs(greenOf(p) - greenOf(q)),
                              std::abs(blueOf(p) - blueOf(q))});
        }
    return worst;
}

class CodecCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CodecCorpus, OpensAtItsSizeAndMatchesImageMagick)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const CorpusCase& c = GetParam();
    const fs::path path = test::corpusDir() / c.file;
    Bitmap bmp;
    try {
        bmp = readImageFile(path);
    } catch (const InvalidImageError& e) {
        FAIL() << "refused: " << e.detail();
    }
    ASSERT_EQ(bmp.width(), c.width);
    ASSERT_EQ(bmp.height(), c.height);
    EXPECT_TRUE(bmp == readImageForRestore(path)) << "restored image differs";
    if (c.tolerance < 0)
        return;
    const Bitmap reference = decodeWithImageMagick(path);
    if (reference.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not available";
    ASSERT_EQ(reference.width(), c.width);
    ASSERT_EQ(reference.height(), c.height);
    const int diff = largestDifference(bmp, reference);
    EXPECT_LE(diff, c.tolerance) << test::dumpMismatch(fs::path(c.file).filename().string(), bmp, reference);
}

// 16-bit samples: ImageMagick rounds through its 16-bit quantum, one step
// off ours at some values.
const CorpusCase kCases[] = {
    {"psd/pil_hopper.psd", 128, 128, 0},
    {"psd/pil_hopper_merged.psd", 128, 128, 0},
    {"psd/pil_rgba.psd", 100, 100, -1},
    {"psd/pil_five_channels.psd", 1, 1, -1},
    {"psd/pil_negative_layer_count.psd", 100, 100, -1},
    {"psd/pil_negative_top_left_layer.psd", 100, 100, -1},
    {"psd/im_input.psd", 70, 46, 0},
    {"generated/im_psd_default.psd", 70, 46, 0},
    {"generated/im_psd_raw.psd", 70, 46, 0},
    {"generated/im_psd_rle.psd", 70, 46, 0},
    {"generated/im_psd_16.psd", 70, 46, 1},
    {"generated/im_psd_cmyk.psd", 70, 46, 0},
    {"generated/im_psd_gray.psd", 70, 46, 0},
    {"generated/im_psd_indexed.psd", 70, 46, -1},
    {"generated/im_psd_layers.psd", 70, 46, 0},
    {"generated/im_psd_pdd.pdd", 70, 46, 0},
    {"sgi/pil_hopper.rgb", 128, 128, 0},
    {"sgi/pil_hopper.bw", 128, 128, 0},
    {"sgi/pil_hopper.sgi", 128, 128, 0},
    {"sgi/pil_hopper16.rgb", 128, 128, 1},
    {"sgi/pil_transparent.sgi", 200, 150, 0},
    {"sgi/im_input.sgi", 70, 46, 0},
    {"generated/im_sgi_default.sgi", 70, 46, 0},
    {"generated/im_sgi_raw.sgi", 70, 46, 0},
    {"generated/im_sgi_rle.sgi", 70, 46, 0},
    {"generated/im_sgi_16.sgi", 70, 46, 1},
    {"generated/im_sgi_gray.bw", 70, 46, 0},
    {"generated/im_sgi_rgba.rgba", 64, 48, 0},
    {"generated/im_sgi_rgb.rgb", 70, 46, 0},
    {"generated/nb_sgi_rle.sgi", 70, 46, 0},
    {"generated/nb_sgi_raw.sgi", 70, 46, 0},
    {"pnm/pil_hopper_1bit.pbm", 128, 128, 0},
    {"pnm/pil_hopper_1bit_plain.pbm", 128, 128, 0},
    {"pnm/pil_hopper_8bit.pgm", 128, 128, 0},
    {"pnm/pil_hopper_8bit_plain.pgm", 128, 128, 0},
    {"pnm/pil_hopper_16bit.pgm", 128, 128, 1},
    {"pnm/pil_16_bit_binary.pgm", 20, 100, 1},
    {"pnm/pil_hopper_8bit.ppm", 128, 128, 0},
    {"pnm/rs_narrow.pbm", 1, 9, 0},
    {"pnm/im_input_p1.pbm", 70, 46, 0},
    {"pnm/im_input_p2.pgm", 70, 46, 0},
    {"pnm/im_input_p3.ppm", 70, 46, 0},
    {"pnm/im_input_p4.pbm", 70, 46, 0},
    {"pnm/im_input_p5.pgm", 70, 46, 0},
    {"pnm/im_input_p6.ppm", 70, 46, 0},
    {"generated/im_pnm_p1.pbm", 70, 46, 0},
    {"generated/im_pnm_p4.pbm", 70, 46, 0},
    {"generated/im_pnm_p2.pgm", 70, 46, 0},
    {"generated/im_pnm_p5.pgm", 70, 46, 0},
    {"generated/im_pnm_p5_16.pgm", 70, 46, 1},
    {"generated/im_pnm_p3.ppm", 70, 46, 0},
    {"generated/im_pnm_p6.ppm", 70, 46, 0},
    {"generated/im_pnm_p6_16.ppm", 70, 46, 1},
};

INSTANTIATE_TEST_SUITE_P(Files, CodecCorpus, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                             std::string name = fs::path(info.param.file).filename().string();
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// The deliberately broken files of these formats: refused, or decoded as
// far as their data goes (0 x 0: refused). Most were made against layer
// decoding, which the reader never does, so their merged image is sound.
struct BrokenCase {
    const char* file;
    int width, height;
};

TEST(CodecCorpusBroken, DamagedFilesAreRefusedOrDecodedWhole)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const BrokenCase cases[] = {
        {"psd/pil_combined_larger_than_size.psd", 0, 0},
        {"psd/pil_psd-oob-write.psd", 100, 100},
        {"psd/pil_psd-oob-write-overflow.psd", 10, 10},
        {"psd/pil_psd-oob-write-x.psd", 1, 1},
        {"psd/pil_timeout-1ee28a249896e05b83840ae8140622de8e648ba9.psd", 0, 0}, // ZIP data
        {"sgi/pil_ossfuzz-5730089102868480.sgi", 0, 0},
        {"sgi/pil_crash-754d9c7ec485ffb76a90eeaab191ef69a2a3a3cd.sgi", 0, 0},
        {"sgi/pil_crash-6b7f2244da6d0ae297ee0754a424213444e92778.sgi", 0, 0},
        {"sgi/pil_crash-db8bfa78b19721225425530c5946217720d7df4e.sgi", 0, 0},
        {"pnm/pil_negative_size.ppm", 0, 0},
        {"pnm/rs_issue-794.pbm", 10, 10}, // complete: 10 rows of 2 bytes
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path path = test::corpusDir() / c.file;
        if (c.width == 0) {
            EXPECT_THROW((void)readImageFile(path), InvalidImageError);
            continue;
        }
        const Bitmap bmp = readImageFile(path);
        EXPECT_EQ(bmp.width(), c.width);
        EXPECT_EQ(bmp.height(), c.height);
    }
}

} // namespace
} // namespace px
