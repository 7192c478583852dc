#include "codecs/CodecPpm.h"

#include "codecs/ByteReader.h"
#include "codecs/RgbSwap.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace px {

namespace {

bool isSpace(std::uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Header and plain-format tokens: whitespace and comments (from '#' to the
// end of the line) separate them.
class Tokens {
public:
    explicit Tokens(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t position() const { return pos_; }

    void skipSpace()
    {
        while (pos_ < data_.size()) {
            if (data_[pos_] == '#') {
                while (pos_ < data_.size() && data_[pos_] != '\n' && data_[pos_] != '\r')
                    ++pos_;
            } else if (isSpace(data_[pos_])) {
                ++pos_;
            } else {
                return;
            }
        }
    }

    // An unsigned decimal number; values past 2^31 are refused.
    std::uint32_t number()
    {
        skipSpace();
        std::uint64_t value = 0;
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] >= '0' && data_[pos_] <= '9') {
            value = value * 10 + (data_[pos_++] - '0');
            if (value > 0x7fffffff)
                throw InvalidImageError("nombre trop grand");
        }
        if (pos_ == start)
            throw InvalidImageError("nombre attendu");
        return std::uint32_t(value);
    }

    // One plain-bitmap digit: '0' or '1', with or without separators.
    bool bit()
    {
        skipSpace();
        if (pos_ >= data_.size() || (data_[pos_] != '0' && data_[pos_] != '1'))
            throw InvalidImageError("chiffre 0 ou 1 attendu");
        return data_[pos_++] == '1';
    }

    // The single whitespace byte between the header and raw data.
    void endOfHeader()
    {
        if (pos_ >= data_.size() || !isSpace(data_[pos_]))
            throw InvalidImageError("en-tête sans fin");
        ++pos_;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// v * 255 / maxval, rounded, for every 8-bit v (values above maxval count as maxval).
std::array<std::uint8_t, 256> scaleTable(unsigned maxval)
{
    std::array<std::uint8_t, 256> table{};
    for (unsigned v = 0; v < 256; ++v)
        table[v] = std::uint8_t((std::min(v, maxval) * 255 + maxval / 2) / maxval);
    return table;
}

std::uint8_t scale(unsigned v, unsigned maxval)
{
    return std::uint8_t((std::min(v, maxval) * 255 + maxval / 2) / maxval);
}

// Raw samples of `count` per row into 8-bit values, in file order.
void rawSamples(const std::uint8_t* src, std::uint8_t* dst, std::size_t count, unsigned maxval,
                const std::array<std::uint8_t, 256>& table)
{
    if (maxval == 255) {
        std::memcpy(dst, src, count);
    } else if (maxval < 256) {
        for (std::size_t i = 0; i < count; ++i)
            dst[i] = table[src[i]];
    } else {
        for (std::size_t i = 0; i < count; ++i)
            dst[i] = scale(unsigned(src[2 * i] << 8 | src[2 * i + 1]), maxval);
    }
}

} // namespace

void decodePpmInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    if (data.size() < 2 || data[0] != 'P' || data[1] < '1' || data[1] > '6')
        throw InvalidImageError("signature PNM absente");
    const int kind = data[1] - '0';
    const bool plain = kind <= 3;
    const bool bitmap = kind == 1 || kind == 4;
    const bool colour = kind == 3 || kind == 6;
    Tokens tokens(data.subspan(2));
    const std::uint32_t width = tokens.number();
    const std::uint32_t height = tokens.number();
    checkImageSize(width, height);
    unsigned maxval = 1;
    if (!bitmap) {
        maxval = tokens.number();
        if (maxval < 1 || maxval > 65535)
            throw InvalidImageError("valeur maximale hors limites");
    }
    const int w = int(width), h = int(height);
    const std::size_t channels = colour ? 3 : 1;
    const std::size_t samples = std::size_t(w) * channels;
    const std::size_t bitRowBytes = (std::size_t(w) + 7) / 8;
    const std::size_t rowBytes = bitmap ? bitRowBytes : samples * (maxval > 255 ? 2 : 1);
    if (plain) {
        // Every plain sample takes at least one character.
        checkEnoughData(std::uint64_t(samples) * std::uint64_t(h), data.size() - 2 - tokens.position());
    } else {
        tokens.endOfHeader();
        checkEnoughData(std::uint64_t(rowBytes) * std::uint64_t(h), data.size() - 2 - tokens.position());
    }
    bmp.reallocate(w, h, bitmap ? 1 : colour ? 24 : 8);
    if (bitmap)
        bmp.setPalette({kWhite, kBlack});
    else if (!colour)
        bmp.setPalette(greyRamp(256));

    const auto table = scaleTable(std::min(maxval, 255u));
    // The last byte of a 1-bit row keeps only the image's columns.
    const std::uint8_t lastMask = std::uint8_t(0xff << ((8 - w % 8) % 8));

    if (plain) {
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = bmp.row(y);
            if (bitmap) {
                std::memset(row, 0, bitRowBytes);
                for (int x = 0; x < w; ++x)
                    if (tokens.bit())
                        row[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
                continue;
            }
            for (std::size_t i = 0; i < samples; ++i)
                row[i] = scale(tokens.number(), maxval);
            if (colour)
                swapRedBlue(row, row, std::size_t(w));
        }
        return;
    }

    ByteReader in(data);
    in.seek(2 + tokens.position());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = in.take(rowBytes);
        std::uint8_t* row = bmp.row(y);
        if (bitmap) {
            std::memcpy(row, src, bitRowBytes);
            row[bitRowBytes - 1] &= lastMask;
            continue;
        }
        if (colour && maxval == 255) {
            swapRedBlue(src, row, std::size_t(w));
            continue;
        }
        rawSamples(src, row, samples, maxval, table);
        if (colour)
            swapRedBlue(row, row, std::size_t(w));
    }
}

Bitmap decodePpm(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodePpmInto(data, bmp);
    return bmp;
}

} // namespace px
