// Every reader of the codec library, given a valid file cut short anywhere,
// refuses it with the invalid-file error: a reader that ran off its data or
// called a short file good fails here. A copy that is still a whole file of
// its kind is left out (see stillWhole).
#include "codecs/ImageFileError.h"
#include "fileio/FileTestSupport.h"
#include "fileio/ImageFormats.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace px {
namespace {

struct SeedFolder {
    const char* folder;    // fuzz/seeds/<folder>
    const char* extension; // the name each copy is opened under ("" keeps the seed's)
};

// The library's own readers; the program's PCX and Targa readers take .pcx
// and .tga, so the library's are reached through their other extensions.
constexpr SeedFolder kFolders[] = {
    {"fuzz_autodesk", ""}, {"fuzz_codec_pcx", ".pcc"}, {"fuzz_codec_targa", ".win"},
    {"fuzz_cut", ""},      {"fuzz_icon", ""},          {"fuzz_ppm", ""},
    {"fuzz_psd", ""},      {"fuzz_rla", ""},           {"fuzz_sgi", ""},
};

// Whether the file cut to `size` bytes is still a whole file of its kind:
// a PCX file without its trailing palette (a 4-bit one does not use it; an
// 8-bit one without it is an old file in greys), a text pixel map cut inside
// its last number.
bool stillWhole(const std::filesystem::path& name, const test::Bytes& whole, const Bitmap& image, std::size_t size)
{
    if (name.extension() == ".pcc" && whole.size() > 769 && whole[whole.size() - 769] == 12)
        return image.bitsPerPixel() == 4 ? size >= whole.size() - 769 : size == whole.size() - 769;
    if (whole.size() > 2 && whole[0] == 'P' && whole[1] >= '1' && whole[1] <= '3') {
        std::size_t end = whole.size();
        while (end > 0 && std::isspace(whole[end - 1]))
            --end;
        while (end > 0 && !std::isspace(whole[end - 1]))
            --end;
        return size >= end;
    }
    return false;
}

class TruncatedCopy : public ::testing::TestWithParam<SeedFolder> {};

TEST_P(TruncatedCopy, IsRefusedWhereverItIsCut)
{
    const auto seeds = std::filesystem::path(PIXORAN3_SOURCE_DIR) / "fuzz/seeds" / GetParam().folder;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
        auto name = entry.path().filename();
        if (name.extension() == ".pal")
            continue; // a Dr. Halo palette, read beside its image
        if (*GetParam().extension)
            name.replace_extension(GetParam().extension);
        const test::Bytes whole = test::readAll(entry.path());
        test::TempDir dir;
        // Seeds include damaged files for the fuzzer; only valid ones count.
        test::writeBytes(dir.file(name.string()), whole);
        Bitmap full;
        try {
            full = readImageFile(dir.file(name.string()));
        } catch (const InvalidImageError&) {
            continue;
        }
        ++files;
        for (std::size_t size = 0; size < whole.size(); ++size) {
            if (stillWhole(name, whole, full, size))
                continue;
            test::writeBytes(dir.file(name.string()), test::Bytes(whole.begin(), whole.begin() + long(size)));
            try {
                const Bitmap image = readImageFile(dir.file(name.string()));
                ADD_FAILURE() << name << " cut to " << size << " of " << whole.size() << " bytes opened as "
                              << image.width() << " x " << image.height();
            } catch (const InvalidImageError&) {
            }
        }
    }
    EXPECT_GT(files, 0);
}

INSTANTIATE_TEST_SUITE_P(CodecLibrary, TruncatedCopy, ::testing::ValuesIn(kFolders),
                         [](const ::testing::TestParamInfo<SeedFolder>& info) {
                             return std::string(info.param.folder + 5);
                         });

} // namespace
} // namespace px
