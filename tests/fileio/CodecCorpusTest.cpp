// The codec library's formats on the real files of the corpus
// (PIXORAN3_CORPUS; skipped when unset): each file opens through the format
// table at its listed size, and where ImageMagick reads the file too, the
// pixels agree with its decoding within the stated tolerance.
#include "codecs/CodecPcx.h"
#include "codecs/CodecTarga.h"
#include "codecs/ImageFileError.h"
#include "fileio/FileBytes.h"
#include "fileio/FileTestSupport.h"
#include "fileio/FormatTable.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace px {
namespace {

namespace fs = std::filesystem;

struct CorpusCase {
    const char* file;
    int width, height;
    // Largest difference allowed in any channel against ImageMagick's and
    // Pillow's decodings; -1 where that program does not read the file or,
    // for the reasons given below, reads it otherwise.
    int magickTolerance;
    int pillowTolerance;
    // The library reader to call on the file's bytes; null: open the file
    // by its name as "Ouvrir..." does.
    ImageDecoder decoder = nullptr;
};

void PrintTo(const CorpusCase& c, std::ostream* os)
{
    *os << c.file;
}

// The output of `command`, a P6 file of 8-bit samples, as a 24-bit
// bitmap; an empty bitmap when the command fails.
Bitmap decodeWith(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe)
        return {};
    std::string out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return test::parsePnm(out);
}

// ImageMagick's decoding of the file's first image as 8-bit RGB, alpha dropped.
Bitmap decodeWithImageMagick(const fs::path& path)
{
    return decodeWith("convert '" + path.string() + "[0]' -depth 8 ppm:-");
}

// Pillow's decoding (the system Python's) as RGB, alpha dropped.
Bitmap decodeWithPillow(const fs::path& path)
{
    return decodeWith("/usr/bin/python3 -c 'import sys; from PIL import Image; "
                      "Image.open(sys.argv[1]).convert(\"RGB\").save(sys.stdout.buffer, \"PPM\")' '" +
                      path.string() + "'");
}

class CodecCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CodecCorpus, OpensAtItsSizeAndMatchesOtherReaders)
{
    if (test::corpusDir().empty())
        GTEST_SKIP() << "PIXORAN3_CORPUS is not set";
    const CorpusCase& c = GetParam();
    const fs::path path = test::corpusDir() / c.file;
    Bitmap bmp;
    try {
        bmp = c.decoder ? c.decoder(readFileBytes(path)) : readImageFile(path);
    } catch (const InvalidImageError& e) {
        FAIL() << "refused: " << e.detail();
    }
    ASSERT_EQ(bmp.width(), c.width);
    ASSERT_EQ(bmp.height(), c.height);
    if (!c.decoder) {
        EXPECT_TRUE(bmp == readImageForRestore(path)) << "restored image differs";
    }
    const struct {
        const char* name;
        int tolerance;
        Bitmap (*decode)(const fs::path&);
    } references[] = {{"ImageMagick", c.magickTolerance, decodeWithImageMagick},
                      {"Pillow", c.pillowTolerance, decodeWithPillow}};
    for (const auto& reference : references) {
        if (reference.tolerance < 0)
            continue;
        const Bitmap expected = reference.decode(path);
        if (expected.isEmpty()) {
            std::cout << reference.name << " is not available or did not read " << c.file << "\n";
            continue;
        }
        SCOPED_TRACE(reference.name);
        ASSERT_EQ(expected.width(), c.width);
        ASSERT_EQ(expected.height(), c.height);
        EXPECT_LE(test::largestDifference(bmp, expected), reference.tolerance)
            << test::dumpMismatch(fs::path(c.file).filename().string() + "_" + reference.name, bmp, expected);
    }
}

// Where the readers differ, and why:
// - 16-bit samples: we scale v * 255 / 65535 rounded; ImageMagick rounds
//   through its 16-bit quantum and Pillow keeps the high byte (one step off),
//   or for 16-bit grey maps clips to 255 (not compared).
// - Photo-CD: ImageMagick maps YCC through its own tone curve and
//   interpolates chroma (differences up to 85); Pillow applies the published
//   matrix as we do, with tables rounded otherwise (3 at most).
// - Targa stored bottom-up: ImageMagick 6.9 reads (and writes) their rows
//   in the opposite order to Pillow and to the format's description, so only
//   Pillow is compared. Pillow reads the colour map of a true-colour file as
//   pixels (rs_b5-unused-cmap), which we skip.
// - 1-bit PCX: ImageMagick takes the header's colours, we and Pillow black
//   and white.
// - 16-bit Photoshop: Pillow does not read it.
const CorpusCase kCases[] = {
    {"psd/pil_hopper.psd", 128, 128, 0, 0},
    {"psd/pil_hopper_merged.psd", 128, 128, 0, 0},
    {"psd/pil_rgba.psd", 100, 100, 0, 0},
    {"psd/pil_five_channels.psd", 1, 1, 0, 0},
    {"psd/pil_negative_layer_count.psd", 100, 100, 0, 0},
    {"psd/pil_negative_top_left_layer.psd", 100, 100, 0, -1},
    {"psd/im_input.psd", 70, 46, 0, 0},
    {"generated/im_psd_default.psd", 70, 46, 0, 0},
    {"generated/im_psd_raw.psd", 70, 46, 0, 0},
    {"generated/im_psd_rle.psd", 70, 46, 0, 0},
    {"generated/im_psd_16.psd", 70, 46, 1, -1},
    {"generated/im_psd_cmyk.psd", 70, 46, 0, 0},
    {"generated/im_psd_gray.psd", 70, 46, 0, 0},
    {"generated/im_psd_indexed.psd", 70, 46, -1, 0},
    {"generated/im_psd_layers.psd", 70, 46, 0, 0},
    {"generated/im_psd_pdd.pdd", 70, 46, 0, 0},
    {"sgi/pil_hopper.rgb", 128, 128, 0, 0},
    {"sgi/pil_hopper.bw", 128, 128, 0, 0},
    {"sgi/pil_hopper.sgi", 128, 128, 0, 0},
    {"sgi/pil_hopper16.rgb", 128, 128, 1, 1},
    {"sgi/pil_transparent.sgi", 200, 150, 0, 0},
    {"sgi/im_input.sgi", 70, 46, 0, 0},
    {"generated/im_sgi_default.sgi", 70, 46, 0, 0},
    {"generated/im_sgi_raw.sgi", 70, 46, 0, 0},
    {"generated/im_sgi_rle.sgi", 70, 46, 0, 0},
    {"generated/im_sgi_16.sgi", 70, 46, 1, 1},
    {"generated/im_sgi_gray.bw", 70, 46, 0, 0},
    {"generated/im_sgi_rgba.rgba", 64, 48, 1, 1},
    {"generated/im_sgi_rgb.rgb", 70, 46, 0, 0},
    {"generated/nb_sgi_rle.sgi", 70, 46, 0, 0},
    {"generated/nb_sgi_raw.sgi", 70, 46, 0, 0},
    {"pnm/pil_hopper_1bit.pbm", 128, 128, 0, 0},
    {"pnm/pil_hopper_1bit_plain.pbm", 128, 128, 0, 0},
    {"pnm/pil_hopper_8bit.pgm", 128, 128, 0, 0},
    {"pnm/pil_hopper_8bit_plain.pgm", 128, 128, 0, 0},
    {"pnm/pil_hopper_16bit.pgm", 128, 128, 1, -1},
    {"pnm/pil_16_bit_binary.pgm", 20, 100, 1, -1},
    {"pnm/pil_hopper_8bit.ppm", 128, 128, 0, 0},
    {"pnm/rs_narrow.pbm", 1, 9, 0, 0},
    {"pnm/im_input_p1.pbm", 70, 46, 0, 0},
    {"pnm/im_input_p2.pgm", 70, 46, 0, 0},
    {"pnm/im_input_p3.ppm", 70, 46, 0, 0},
    {"pnm/im_input_p4.pbm", 70, 46, 0, 0},
    {"pnm/im_input_p5.pgm", 70, 46, 0, 0},
    {"pnm/im_input_p6.ppm", 70, 46, 0, 0},
    {"generated/im_pnm_p1.pbm", 70, 46, 0, 0},
    {"generated/im_pnm_p4.pbm", 70, 46, 0, 0},
    {"generated/im_pnm_p2.pgm", 70, 46, 0, 0},
    {"generated/im_pnm_p5.pgm", 70, 46, 0, 0},
    {"generated/im_pnm_p5_16.pgm", 70, 46, 1, -1},
    {"generated/im_pnm_p3.ppm", 70, 46, 0, 0},
    {"generated/im_pnm_p6.ppm", 70, 46, 0, 0},
    {"generated/im_pnm_p6_16.ppm", 70, 46, 1, -1},
    {"celpic/ap_ZIN.CEL", 6, 6, -1, -1},
    {"celpic/ap_ZOUT.CEL", 6, 5, -1, -1},
    {"celpic/ap_CRSHAIR.CEL", 314, 146, -1, -1},
    {"celpic/ap_RED.CEL", 42, 53, -1, -1},
    {"celpic/ap_LOGO.CEL", 84, 88, -1, -1},
    {"celpic/ap_APWCOL.CEL", 161, 193, -1, -1},
    {"pcd/pil_hopper.pcd", 768, 512, -1, 3},
    {"generated/im_pcd_base.pcd", 768, 512, -1, 3},
    {"generated/im_pcd_rose.pcd", 768, 512, -1, 3},
    {"generated/im_pcd_plasma.pcd", 768, 512, -1, 3},
    {"generated/im_tga_icb.icb", 70, 46, -1, 0},
    {"generated/im_tga_vda.vda", 70, 46, -1, 0},
    {"generated/im_tga_vst.vst", 70, 46, -1, 0},
    {"generated/im_tga_win.win", 70, 46, -1, 0}, // ImageMagick needs to be told the format
    {"generated/im_pcx_pcc.pcc", 70, 46, 0, 0},
    {"generated/im_pcx_scr.scr", 70, 46, 0, 0},
    // The library's Targa and PCX readers on the other files of those formats.
    {"generated/im_tga_raw24.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_rle24.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_cmap_raw.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_cmap_rle.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_gray_raw.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_gray_rle.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_tga_rgba32_rle.tga", 64, 48, -1, 0, decodeCodecTarga},
    {"generated/im_tga_topleft.tga", 70, 46, 0, 0, decodeCodecTarga},
    {"generated/nb_tga_raw.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/nb_tga_rle.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/nb_tga_cmap_rle.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/nb_tga_mono_rle.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"tga/pil_200x32_l_bl_raw.tga", 200, 32, -1, 0, decodeCodecTarga},
    {"tga/pil_200x32_l_tl_rle.tga", 200, 32, 0, 0, decodeCodecTarga},
    {"tga/pil_200x32_la_bl_rle.tga", 200, 32, -1, 0, decodeCodecTarga},
    {"tga/pil_200x32_p_bl_rle.tga", 200, 32, -1, 0, decodeCodecTarga},
    {"tga/pil_200x32_p_tl_raw.tga", 200, 32, 0, 0, decodeCodecTarga},
    {"tga/pil_200x32_rgb_bl_rle.tga", 200, 32, -1, 0, decodeCodecTarga},
    {"tga/pil_200x32_rgba_tl_raw.tga", 200, 32, 0, 0, decodeCodecTarga},
    {"tga/pil_200x32_rgba_bl_rle.tga", 200, 32, -1, 0, decodeCodecTarga},
    {"tga/pil_cross_scan_line.tga", 2, 2, -1, 0, decodeCodecTarga},
    {"tga/pil_p_16.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/pil_rgba16.tga", 2, 1, 0, 0, decodeCodecTarga},
    {"tga/pil_tga_id_field.tga", 100, 100, -1, 0, decodeCodecTarga},
    {"tga/pil_rgb32rle_top_right.tga", 199, 199, -1, 0, decodeCodecTarga},
    {"tga/rs_cbw8.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_ccm8.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_ctc24.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_ubw8.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_ucm8.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_utc16.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_utc24.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_utc32.tga", 128, 128, -1, 0, decodeCodecTarga},
    {"tga/rs_cmap_offset.tga", 12, 6, -1, 0, decodeCodecTarga},
    {"tga/rs_b5-unused-cmap.tga", 4, 4, -1, -1, decodeCodecTarga},
    {"tga/rs_bottom_right.tga", 75, 70, -1, -1, decodeCodecTarga},
    {"tga/im_input.tga", 70, 46, -1, 0, decodeCodecTarga},
    {"generated/im_pcx_24.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/im_pcx_pal8.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/im_pcx_pal16.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/im_pcx_mono.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/im_pcx_rgba.pcx", 64, 48, 0, -1, decodeCodecPcx},
    {"generated/nb_pcx1.pcx", 70, 46, -1, 0, decodeCodecPcx},
    {"generated/nb_pcx4packed.pcx", 70, 46, 0, -1, decodeCodecPcx},
    {"generated/nb_pcx4planes.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/nb_pcx8.pcx", 70, 46, 0, 0, decodeCodecPcx},
    {"generated/nb_pcx24.pcx", 70, 46, 0, 0, decodeCodecPcx},
};

INSTANTIATE_TEST_SUITE_P(Files, CodecCorpus, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                             return test::testName(fs::path(info.param.file).filename().string());
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
