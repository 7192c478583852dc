#include "codecs/CodecAutodesk.h"

#include "codecs/ByteReader.h"

#include <cstring>
#include <vector>

namespace px {

namespace {

constexpr unsigned kCelMagic = 0x9119;
constexpr unsigned kFliMagic = 0xaf11;
constexpr unsigned kFlcMagic = 0xaf12;
constexpr unsigned kFrameChunk = 0xf1fa;

enum Chunk : unsigned {
    DeltaWords = 7,
    Colour256 = 4,
    Colour64 = 11,
    DeltaBytes = 12,
    Black = 13,
    ByteRun = 15,
    Literal = 16,
};

std::uint8_t from6(unsigned v)
{
    return std::uint8_t(((v & 63) * 255 + 31) / 63);
}

void decodeCel(ByteReader& in, Bitmap& bmp)
{
    in.seek(2);
    const unsigned width = in.u16le(), height = in.u16le();
    in.skip(4); // position
    const unsigned bits = in.u8(), compression = in.u8();
    if (bits != 8 || compression != 0)
        throw InvalidImageError("variante de cellule non prise en charge");
    checkImageSize(width, height);
    in.seek(32);
    const std::uint8_t* rgb = in.take(768);
    const std::uint8_t* pixels = in.take(std::uint64_t(width) * height);
    bmp.reallocate(int(width), int(height), 8);
    std::vector<Colour> palette(256);
    for (std::size_t i = 0; i < 256; ++i)
        palette[i] = makeColour(from6(rgb[3 * i]), from6(rgb[3 * i + 1]), from6(rgb[3 * i + 2]));
    bmp.setPalette(std::move(palette));
    for (unsigned y = 0; y < height; ++y)
        std::memcpy(bmp.row(int(y)), pixels + std::size_t(y) * width, width);
}

// The frame's chunks, applied to the canvas (`bmp`, 8 bits) and `palette`.
class FrameDecoder {
public:
    FrameDecoder(Bitmap& bmp, std::vector<Colour>& palette) : bmp_(bmp), palette_(palette), w_(std::size_t(bmp.width()))
    {
    }

    void apply(unsigned type, ByteReader in)
    {
        switch (type) {
        case Colour256:
        case Colour64:
            colours(in, type == Colour64);
            break;
        case Black:
            for (int y = 0; y < bmp_.height(); ++y)
                std::memset(bmp_.row(y), 0, w_);
            break;
        case ByteRun:
            byteRun(in);
            break;
        case Literal:
            for (int y = 0; y < bmp_.height(); ++y)
                std::memcpy(bmp_.row(y), in.take(w_), w_);
            break;
        case DeltaBytes:
            deltaBytes(in);
            break;
        case DeltaWords:
            deltaWords(in);
            break;
        default: // stamps, labels, paths: nothing to draw
            break;
        }
    }

private:
    void colours(ByteReader& in, bool sixBits)
    {
        const unsigned packets = in.u16le();
        std::size_t index = 0;
        for (unsigned p = 0; p < packets; ++p) {
            index += in.u8();
            std::size_t count = in.u8();
            if (count == 0)
                count = 256;
            const std::uint8_t* rgb = in.take(count * 3);
            for (std::size_t i = 0; i < count; ++i, ++index) {
                if (index >= 256)
                    throw InvalidImageError("couleur hors de la palette");
                palette_[index] = sixBits ? makeColour(from6(rgb[3 * i]), from6(rgb[3 * i + 1]), from6(rgb[3 * i + 2]))
                                          : makeColour(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
            }
        }
    }

    // Each line: a packet count (not relied upon), then packets until the
    // line is full: a positive count repeats the next byte, a negative one
    // copies that many bytes.
    void byteRun(ByteReader& in)
    {
        for (int y = 0; y < bmp_.height(); ++y) {
            std::uint8_t* row = bmp_.row(y);
            in.skip(1);
            for (std::size_t x = 0; x < w_;) {
                const int count = in.s8();
                const std::size_t n = std::size_t(count < 0 ? -count : count);
                if (n == 0 || n > w_ - x)
                    throw InvalidImageError("plage hors de la ligne");
                if (count > 0)
                    std::memset(row + x, in.u8(), n);
                else
                    std::memcpy(row + x, in.take(n), n);
                x += n;
            }
        }
    }

    std::uint8_t* line(std::size_t y)
    {
        if (y >= std::size_t(bmp_.height()))
            throw InvalidImageError("ligne hors de l'image");
        return bmp_.row(int(y));
    }

    // Packets of one line: a column skip, then a count: positive, that many
    // units follow; negative, one unit repeated. A unit is `unit` bytes.
    void packets(ByteReader& in, std::uint8_t* row, unsigned count, std::size_t unit)
    {
        std::size_t x = 0;
        for (unsigned p = 0; p < count; ++p) {
            x += in.u8();
            const int size = in.s8();
            const std::size_t n = std::size_t(size < 0 ? -size : size) * unit;
            if (x > w_ || n > w_ - x)
                throw InvalidImageError("plage hors de la ligne");
            if (size >= 0) {
                std::memcpy(row + x, in.take(n), n);
            } else {
                const std::uint8_t* value = in.take(unit);
                for (std::size_t i = 0; i < n; i += unit)
                    std::memcpy(row + x + i, value, unit);
            }
            x += n;
        }
    }

    void deltaBytes(ByteReader& in)
    {
        std::size_t y = in.u16le();
        const unsigned lines = in.u16le();
        for (unsigned l = 0; l < lines; ++l, ++y)
            packets(in, line(y), in.u8(), 1);
    }

    void deltaWords(ByteReader& in)
    {
        const unsigned lines = in.u16le();
        std::size_t y = 0;
        for (unsigned l = 0; l < lines; ++l, ++y) {
            for (;;) {
                const unsigned word = in.u16le();
                if ((word & 0xc000) == 0xc000) { // lines to skip, as a negative number
                    y += 0x10000 - word;
                } else if ((word & 0xc000) == 0x8000) { // the last byte of an odd-width line
                    if (w_ == 0)
                        throw InvalidImageError("ligne vide");
                    line(y)[w_ - 1] = std::uint8_t(word);
                } else if (word & 0xc000) {
                    throw InvalidImageError("mot de commande inconnu");
                } else {
                    packets(in, line(y), word, 2);
                    break;
                }
            }
        }
    }

    Bitmap& bmp_;
    std::vector<Colour>& palette_;
    std::size_t w_;
};

void decodeAnimation(ByteReader& in, unsigned magic, Bitmap& bmp)
{
    in.seek(6);
    const unsigned frames = in.u16le();
    const unsigned width = in.u16le(), height = in.u16le(), depth = in.u16le();
    if (frames == 0 || (depth != 8 && depth != 0))
        throw InvalidImageError("animation sans image");
    checkImageSize(width, height);
    std::uint64_t at = 128;
    if (magic == kFlcMagic) {
        in.seek(80);
        at = in.u32le();
    }
    bmp.reallocate(int(width), int(height), 8);
    for (unsigned y = 0; y < height; ++y)
        std::memset(bmp.row(int(y)), 0, width);
    std::vector<Colour> palette(256, kBlack);
    // Skip prefix and other chunks up to the first frame.
    for (;;) {
        in.seek(at);
        const std::uint32_t size = in.u32le();
        const unsigned type = in.u16le();
        if (size < 6 || size > in.remaining() + 6)
            throw InvalidImageError("bloc hors du fichier");
        if (type != kFrameChunk) {
            at += size;
            continue;
        }
        if (size < 16)
            throw InvalidImageError("image trop courte");
        ByteReader frame(in.data().subspan(std::size_t(at), size));
        frame.seek(6);
        const unsigned chunks = frame.u16le();
        frame.seek(16);
        FrameDecoder decoder(bmp, palette);
        for (unsigned c = 0; c < chunks && frame.remaining() > 0; ++c) {
            const std::size_t start = frame.position();
            const std::uint32_t chunkSize = frame.u32le();
            const unsigned chunkType = frame.u16le();
            if (chunkSize < 6 || chunkSize - 6 > frame.remaining())
                throw InvalidImageError("bloc hors de l'image");
            decoder.apply(chunkType, ByteReader(in.data().subspan(std::size_t(at) + frame.position(), chunkSize - 6)));
            frame.seek(start + chunkSize);
        }
        break;
    }
    bmp.setPalette(std::move(palette));
}

} // namespace

void decodeAutodeskInto(std::span<const std::uint8_t> data, Bitmap& bmp)
{
    ByteReader in(data);
    if (data.size() >= 32 && in.u16le() == kCelMagic) {
        decodeCel(in, bmp);
        return;
    }
    if (data.size() >= 128) {
        in.seek(4);
        const unsigned magic = in.u16le();
        if (magic == kFliMagic || magic == kFlcMagic) {
            decodeAnimation(in, magic, bmp);
            return;
        }
    }
    throw InvalidImageError("signature Autodesk absente");
}

Bitmap decodeAutodesk(std::span<const std::uint8_t> data)
{
    Bitmap bmp;
    decodeAutodeskInto(data, bmp);
    return bmp;
}

} // namespace px
