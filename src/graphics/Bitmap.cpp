#include "graphics/Bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace px {

namespace {

std::vector<Colour> makeStandardPalette8()
{
    std::vector<Colour> pal;
    pal.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                pal.push_back(makeColour(r * 51, g * 51, b * 51));
    for (int k = 0; k < 5; ++k)
        for (int j = 1; j <= 8; ++j) {
            const int v = 51 * k + (51 * j + 4) / 9;
            pal.push_back(makeColour(v, v, v));
        }
    return pal;
}

// Squared distance between two colours.
inline int distance2(Colour a, Colour b)
{
    const int dr = int(redOf(a)) - int(redOf(b));
    const int dg = int(greenOf(a)) - int(greenOf(b));
    const int db = int(blueOf(a)) - int(blueOf(b));
    return dr * dr + dg * dg + db * db;
}

int nearestIn(const std::vector<Colour>& pal, Colour c)
{
    int best = 0;
    int bestDist = 1 << 30;
    for (std::size_t i = 0; i < pal.size(); ++i) {
        const int d = distance2(pal[i], c);
        if (d < bestDist) {
            bestDist = d;
            best = int(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

// Nearest entry of the fixed 8-bit palette in constant time: the cube is
// separable, so its nearest entry takes the nearest level per channel; the
// nearest grey is the grey level closest to the channel mean. The smaller of
// the two distances wins, the lower index on a tie, as a full search would.
class Nearest8 {
public:
    Nearest8()
    {
        const auto& pal = Bitmap::standardPalette(8);
        std::vector<std::pair<int, int>> greys; // value, index
        for (int i = 0; i < 256; ++i)
            if (redOf(pal[i]) == greenOf(pal[i]) && greenOf(pal[i]) == blueOf(pal[i]))
                greys.push_back({redOf(pal[i]), i});
        for (int s = 0; s <= 765; ++s) {
            int bestIdx = 0, bestErr = 1 << 30, bestVal = 0;
            for (auto [v, idx] : greys) {
                const int err = std::abs(3 * v - s);
                if (err < bestErr || (err == bestErr && idx < bestIdx)) {
                    bestErr = err;
                    bestIdx = idx;
                    bestVal = v;
                }
            }
            greyIndex_[s] = std::uint8_t(bestIdx);
            greyValue_[s] = std::uint8_t(bestVal);
        }
    }
    std::uint8_t operator()(int r, int g, int b) const
    {
        const int lr = (r + 25) / 51, lg = (g + 25) / 51, lb = (b + 25) / 51;
        const int cubeIdx = 36 * lr + 6 * lg + lb;
        const int dr = r - 51 * lr, dg = g - 51 * lg, db = b - 51 * lb;
        const int cubeDist = dr * dr + dg * dg + db * db;
        const int s = r + g + b;
        const int gv = greyValue_[s];
        const int gDist = (r - gv) * (r - gv) + (g - gv) * (g - gv) + (b - gv) * (b - gv);
        const int gIdx = greyIndex_[s];
        if (gDist < cubeDist || (gDist == cubeDist && gIdx < cubeIdx))
            return std::uint8_t(gIdx);
        return std::uint8_t(cubeIdx);
    }

private:
    std::array<std::uint8_t, 766> greyIndex_{};
    std::array<std::uint8_t, 766> greyValue_{};
};

const Nearest8& standardNearest8()
{
    static const Nearest8 table;
    return table;
}

inline int readIndex(const std::uint8_t* row, int x, int bpp)
{
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
    }
}

inline void writeIndex(std::uint8_t* row, int x, int bpp, int index)
{
    switch (bpp) {
    case 1: {
        const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = (index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = std::uint8_t((row[x >> 1] & 0xF0) | (index & 0x0F));
        else
            row[x >> 1] = std::uint8_t((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
        break;
    default: row[x] = std::uint8_t(index);
    }
}

} // namespace

bool Bitmap::isAcceptableSize(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

bool Bitmap::isValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24; }

std::size_t Bitmap::strideFor(int width, int bpp)
{
    return ((std::size_t(width) * std::size_t(bpp) + 31) / 32) * 4;
}

const std::vector<Colour>& Bitmap::standardPalette(int bpp)
{
    static const std::vector<Colour> pal1 = {kBlack, kWhite};
    static const std::vector<Colour> pal4 = {
        makeColour(0, 0, 0),       makeColour(128, 0, 0),   makeColour(0, 128, 0),   makeColour(128, 128, 0),
        makeColour(0, 0, 128),     makeColour(128, 0, 128), makeColour(0, 128, 128), makeColour(192, 192, 192),
        makeColour(128, 128, 128), makeColour(255, 0, 0),   makeColour(0, 255, 0),   makeColour(255, 255, 0),
        makeColour(0, 0, 255),     makeColour(255, 0, 255), makeColour(0, 255, 255), makeColour(255, 255, 255)};
    static const std::vector<Colour> pal8 = makeStandardPalette8();
    static const std::vector<Colour> none;
    switch (bpp) {
    case 1: return pal1;
    case 4: return pal4;
    case 8: return pal8;
    default: return none;
    }
}

Bitmap::Bitmap(int width, int height, int bpp)
{
    reallocate(width, height, bpp);
    pixels_.resize(byteSize(), true);
}

void Bitmap::setPalette(std::vector<Colour> palette)
{
    if (bpp_ == 24)
        return;
    if (palette.size() > (std::size_t(1) << bpp_))
        palette.resize(std::size_t(1) << bpp_);
    palette_ = std::move(palette);
}

Colour Bitmap::pixel(int x, int y) const
{
    if (!contains(x, y))
        return kBlack;
    const std::uint8_t* r = row(y);
    if (bpp_ == 24) {
        const std::uint8_t* p = r + 3 * std::size_t(x);
        return makeColour(p[2], p[1], p[0]);
    }
    const int idx = readIndex(r, x, bpp_);
    return std::size_t(idx) < palette_.size() ? palette_[idx] : kBlack;
}

void Bitmap::setPixel(int x, int y, Colour c)
{
    if (!contains(x, y))
        return;
    std::uint8_t* r = row(y);
    if (bpp_ == 24) {
        std::uint8_t* p = r + 3 * std::size_t(x);
        p[0] = blueOf(c);
        p[1] = greenOf(c);
        p[2] = redOf(c);
        return;
    }
    writeIndex(r, x, bpp_, nearestIndex(c));
}

int Bitmap::pixelIndex(int x, int y) const
{
    if (!contains(x, y) || bpp_ == 24)
        return 0;
    return readIndex(row(y), x, bpp_);
}

void Bitmap::setPixelIndex(int x, int y, int index)
{
    if (!contains(x, y) || bpp_ == 24)
        return;
    writeIndex(row(y), x, bpp_, index);
}

int Bitmap::nearestIndex(Colour c) const
{
    if (palette_.empty())
        return 0;
    if (bpp_ == 8 && palette_ == standardPalette(8))
        return standardNearest8()(redOf(c), greenOf(c), blueOf(c));
    return nearestIn(palette_, c);
}

void Bitmap::fill(Colour c)
{
    if (isEmpty())
        return;
    if (bpp_ == 24) {
        std::uint8_t* r0 = row(0);
        for (int x = 0; x < width_; ++x) {
            r0[3 * x] = blueOf(c);
            r0[3 * x + 1] = greenOf(c);
            r0[3 * x + 2] = redOf(c);
        }
    } else {
        const int idx = nearestIndex(c);
        std::uint8_t* r0 = row(0);
        for (int x = 0; x < width_; ++x)
            writeIndex(r0, x, bpp_, idx);
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(row(y), row(0), stride_);
}

void Bitmap::reallocate(int width, int height, int bpp)
{
    if (!isValidDepth(bpp))
        throw BitmapError("Profondeur de couleur non prise en charge : " + std::to_string(bpp));
    if (width < 0 || height < 0 || ((width || height) && !isAcceptableSize(std::max(width, 1), std::max(height, 1))))
        throw BitmapError("Dimensions d'image non valides : " + std::to_string(width) + " x " + std::to_string(height));
    if (width == 0 || height == 0)
        width = height = 0;
    width_ = width;
    height_ = height;
    bpp_ = bpp;
    stride_ = strideFor(width, bpp);
    pixels_.resize(stride_ * std::size_t(height), false);
    palette_ = standardPalette(bpp);
}

void Bitmap::resize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    Bitmap out(width, height, bpp_);
    out.palette_ = palette_;
    if (!out.isEmpty() && bpp_ < 24) {
        // New area black: the palette entry nearest to black.
        const int black = out.nearestIndex(kBlack);
        if (black != 0)
            for (int y = 0; y < out.height_; ++y)
                for (int x = 0; x < out.width_; ++x)
                    writeIndex(out.row(y), x, bpp_, black);
    }
    const int w = std::min(width, width_), h = std::min(height, height_);
    if (w > 0 && h > 0) {
        const std::size_t fullBytes = std::size_t(w) * bpp_ / 8;
        const int restBits = int((std::size_t(w) * bpp_) % 8);
        for (int y = 0; y < h; ++y) {
            std::memcpy(out.row(y), row(y), fullBytes);
            if (restBits) {
                const std::uint8_t mask = std::uint8_t(0xFF00 >> restBits);
                std::uint8_t& d = out.row(y)[fullBytes];
                d = std::uint8_t((d & ~mask) | (row(y)[fullBytes] & mask));
            }
        }
    }
    swap(out);
}

void Bitmap::setPixelFormat(int bpp)
{
    if (!isValidDepth(bpp))
        throw BitmapError("Profondeur de couleur non prise en charge : " + std::to_string(bpp));
    if (bpp == bpp_)
        return;
    Bitmap out(width_, height_, bpp);
    if (isEmpty()) {
        swap(out);
        return;
    }
    if (bpp == 24) {
        std::array<std::uint8_t, 3 * 256> lut{};
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            lut[3 * i] = blueOf(palette_[i]);
            lut[3 * i + 1] = greenOf(palette_[i]);
            lut[3 * i + 2] = redOf(palette_[i]);
        }
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = row(y);
            std::uint8_t* d = out.row(y);
            for (int x = 0; x < width_; ++x, d += 3) {
                const std::uint8_t* c = &lut[3 * readIndex(s, x, bpp_)];
                d[0] = c[0];
                d[1] = c[1];
                d[2] = c[2];
            }
        }
    } else if (bpp_ < 24) {
        // Indexed to indexed: map each source palette entry once.
        std::array<int, 256> map{};
        const int blackIdx = out.nearestIndex(kBlack);
        map.fill(blackIdx);
        for (std::size_t i = 0; i < palette_.size(); ++i)
            map[i] = out.nearestIndex(palette_[i]);
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = row(y);
            std::uint8_t* d = out.row(y);
            for (int x = 0; x < width_; ++x)
                writeIndex(d, x, bpp, map[readIndex(s, x, bpp_)]);
        }
    } else {
        // 24 bits to indexed; neighbouring pixels often repeat a colour. The
        // new bitmap's palette is the standard one of its depth: for 8 bits,
        // the nearest entry comes from the table without comparing palettes
        // at every colour.
        const Nearest8* standard = bpp == 8 ? &standardNearest8() : nullptr;
        Colour last = 0xFFFFFFFF;
        int lastIdx = 0;
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = row(y);
            std::uint8_t* d = out.row(y);
            for (int x = 0; x < width_; ++x, s += 3) {
                const Colour c = makeColour(s[2], s[1], s[0]);
                if (c != last) {
                    last = c;
                    lastIdx = standard ? (*standard)(s[2], s[1], s[0]) : out.nearestIndex(c);
                }
                writeIndex(d, x, bpp, lastIdx);
            }
        }
    }
    swap(out);
}

bool Bitmap::operator==(const Bitmap& other) const
{
    if (width_ != other.width_ || height_ != other.height_ || bpp_ != other.bpp_)
        return false;
    if (bpp_ < 24 && palette_ != other.palette_)
        return false;
    const std::size_t fullBytes = std::size_t(width_) * bpp_ / 8;
    const int restBits = int((std::size_t(width_) * bpp_) % 8);
    const std::uint8_t mask = std::uint8_t(0xFF00 >> restBits);
    for (int y = 0; y < height_; ++y) {
        if (std::memcmp(row(y), other.row(y), fullBytes) != 0)
            return false;
        if (restBits && ((row(y)[fullBytes] ^ other.row(y)[fullBytes]) & mask))
            return false;
    }
    return true;
}

void Bitmap::swap(Bitmap& other) noexcept
{
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bpp_, other.bpp_);
    std::swap(stride_, other.stride_);
    std::swap(pixels_, other.pixels_);
    std::swap(palette_, other.palette_);
}

const Bitmap& viewAs24(const Bitmap& source, Bitmap& storage)
{
    if (source.bitsPerPixel() == 24)
        return source;
    storage = source;
    storage.setPixelFormat(24);
    return storage;
}

} // namespace px
