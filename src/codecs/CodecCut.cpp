#include "codecs/CodecCut.h"

#include "codecs/ByteReader.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace px {

namespace {

constexpr std::size_t kPaletteHeader = 40;
constexpr std::size_t kBlock = 512;
// A palette file larger than this is not one: 256 entries fit in 4 blocks.
constexpr std::uintmax_t kLargestPaletteFile = 1 << 16;

std::string lowerCase(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

std::optional<std::vector<Colour>> decodeHaloPalette(std::span<const std::uint8_t> data)
{
    if (data.size() < kPaletteHeader || data[0] != 'A' || data[1] != 'H')
        return std::nullopt;
    ByteReader in(data);
    in.seek(12);
    const unsigned lastIndex = in.u16le();
    const unsigned largest[3] = {in.u16le(), in.u16le(), in.u16le()};
    if (lastIndex > 255 || largest[0] == 0 || largest[1] == 0 || largest[2] == 0)
        return std::nullopt;
    std::vector<Colour> palette(256, kBlack);
    std::size_t at = kPaletteHeader;
    for (unsigned i = 0; i <= lastIndex; ++i) {
        if (at % kBlock > kBlock - 6)
            at = (at / kBlock + 1) * kBlock;
        if (at > data.size() || data.size() - at < 6)
            return std::nullopt;
        int rgb[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned v = std::min<unsigned>(unsigned(data[at] | data[at + 1] << 8), largest[c]);
            rgb[c] = int((v * 255 + largest[c] / 2) / largest[c]);
            at += 2;
        }
        palette[i] = makeColour(rgb[0], rgb[1], rgb[2]);
    }
    return palette;
}

void decodeCutInto(std::span<const std::uint8_t> data, std::span<const Colour> palette, Bitmap& bmp)
{
    ByteReader in(data);
    const unsigned width = in.u16le();
    const unsigned height = in.u16le();
    in.skip(2);
    checkImageSize(width, height);
    const int w = int(width), h = int(height);
    // A line takes at least three bytes; two bytes stand for at most 127 pixels.
    checkEnoughData(std::uint64_t(h) * 3, in.remaining());
    checkEnoughData(std::uint64_t(w) * std::uint64_t(h), 64 * std::uint64_t(in.remaining()));
    bmp.reallocate(w, h, 8);
    bmp.setPalette(palette.empty() ? greyRamp(256) : std::vector<Colour>(palette.begin(), palette.end()));
    for (int y = 0; y < h; ++y) {
        in.skip(2); // the line's byte count: the packets themselves say where it ends
        std::uint8_t* row = bmp.row(y);
        std::size_t x = 0;
        for (;;) {
            const std::uint8_t b = in.u8();
            const std::size_t n = b & 0x7f;
            if (n == 0)
                break;
            if (x == width)
                break; // a full line ends at the next packet whatever it holds
            if (n > width - x)
                throw InvalidImageError("plage hors de la ligne");
            if (b & 0x80)
                std::memset(row + x, in.u8(), n);
            else
                std::memcpy(row + x, in.take(n), n);
            x += n;
        }
        std::memset(row + x, 0, width - x);
    }
}

Bitmap decodeCut(std::span<const std::uint8_t> data, std::span<const Colour> palette)
{
    Bitmap bmp;
    decodeCutInto(data, palette, bmp);
    return bmp;
}

std::optional<std::filesystem::path> haloPaletteFileFor(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string wanted = lowerCase(path.stem().string() + ".pal");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (lowerCase(it->path().filename().string()) == wanted && it->is_regular_file(error))
            return it->path();
    return std::nullopt;
}

Bitmap decodeCutFile(std::span<const std::uint8_t> data, const std::filesystem::path& path)
{
    std::optional<std::vector<Colour>> palette;
    if (const auto palettePath = haloPaletteFileFor(path)) {
        std::error_code error;
        const auto size = std::filesystem::file_size(*palettePath, error);
        if (!error && size <= kLargestPaletteFile) {
            std::ifstream file(*palettePath, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
            palette = decodeHaloPalette(bytes);
        }
    }
    return decodeCut(data, palette ? std::span<const Colour>(*palette) : std::span<const Colour>());
}

} // namespace px
