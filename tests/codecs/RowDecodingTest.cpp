// The pieces the readers decode rows with: PCX run-length lines with each
// instruction set the processor has, short copies and fills, planes
// interleaved into pixels, and whole large images, whose rows are written
// around the cache. Expected bytes are built from the formats' rules. (The
// PCX reader's fuzz seeds include files wide enough for its windows; the
// truncated-file test cuts them at every length.)
#include "codecs/CodecSgi.h"
#include "codecs/CodecTarga.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/ImageFileError.h"
#include "codecs/PcxRuns.h"
#include "codecs/RgbSwap.h"
#include "codecs/ShortRuns.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace px {
namespace {

using test::Builder;
using test::Bytes;

// PCX codes drawn at random in the proportions given (out of 100; the rest
// are runs of 0 or of 3 to 63 bytes), with what they decode to. Values of
// single bytes are below 0xc0; those of runs are at least `runValues`.
struct PcxStream {
    Bytes encoded;
    Bytes decoded;
    // For each code, where it starts in `encoded` and in `decoded`.
    std::vector<std::pair<std::size_t, std::size_t>> codes;

    // Where a decoder stands once `decodedBytes` bytes are out: at the
    // first code they do not need.
    std::size_t positionAfter(std::size_t decodedBytes) const
    {
        for (const auto& [encodedAt, decodedAt] : codes)
            if (decodedAt >= decodedBytes)
                return encodedAt;
        return encoded.size();
    }
};

// Where two byte strings first differ (their common length when one is the start of the other).
std::size_t firstDifference(const Bytes& a, const Bytes& b)
{
    return std::size_t(std::mismatch(a.begin(), a.begin() + long(std::min(a.size(), b.size())), b.begin()).first -
                       a.begin());
}

PcxStream pcxStream(std::uint32_t seed, int codes, int singles, int ones, int twos, int runValues)
{
    PcxStream s;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    const auto run = [&s](unsigned n, std::uint8_t v) {
        s.codes.emplace_back(s.encoded.size(), s.decoded.size());
        s.encoded.insert(s.encoded.end(), {std::uint8_t(0xc0 | n), v});
        s.decoded.insert(s.decoded.end(), n, v);
    };
    for (int i = 0; i < codes; ++i) {
        const int kind = int(next() % 100);
        const std::uint8_t v = std::uint8_t(runValues + int(next() % unsigned(256 - runValues)));
        if (kind < singles) {
            const std::uint8_t b = std::uint8_t(next() % 0xc0);
            s.codes.emplace_back(s.encoded.size(), s.decoded.size());
            s.encoded.push_back(b);
            s.decoded.push_back(b);
        } else if (kind < singles + ones) {
            run(1, v);
        } else if (kind < singles + ones + twos) {
            run(2, v);
        } else {
            const unsigned n = next() % 62;
            run(n == 0 ? 0 : n + 2, v);
        }
    }
    s.codes.emplace_back(s.encoded.size(), s.decoded.size());
    s.encoded.push_back(7); // ends on a byte that decodes to something
    s.decoded.push_back(7);
    return s;
}

// Photo-like; counts and values only (long stretches of marked bytes);
// long runs and empty ones.
std::vector<PcxStream> pcxStreams()
{
    return {pcxStream(1, 3000, 60, 25, 12, 0), pcxStream(2, 3000, 0, 60, 40, 0xc0), pcxStream(3, 600, 30, 0, 0, 0)};
}

// Lines of 1 to 130 bytes end at every place of a 64-byte window.
TEST(PcxRunDecoder, DecodesLinesOfAnyLengthWithEveryInstructionSet)
{
    for (const PcxRunInstructions instructions : pcxRunInstructionsAvailable())
        for (const PcxStream& s : pcxStreams())
            for (std::size_t line = 1; line <= 130; ++line) {
                PcxRunDecoder runs(s.encoded, 0, instructions);
                Bytes decoded(s.decoded.size());
                std::size_t misplaced = 0;
                for (std::size_t at = 0; at < decoded.size(); at += line) {
                    const std::size_t n = std::min(line, decoded.size() - at);
                    runs.read(decoded.data() + at, n);
                    misplaced += runs.position() != s.positionAfter(at + n);
                }
                EXPECT_TRUE(decoded == s.decoded) << "instructions " << int(instructions) << ", lines of " << line
                                                  << ": first difference at " << firstDifference(decoded, s.decoded);
                EXPECT_EQ(misplaced, 0u) << "instructions " << int(instructions) << ", lines of " << line;
            }
}

TEST(PcxRunDecoder, RefusesDataCutAnywhere)
{
    for (const PcxRunInstructions instructions : pcxRunInstructionsAvailable())
        for (const PcxStream& s : pcxStreams())
            for (std::size_t size = 0; size < s.encoded.size(); ++size) {
                PcxRunDecoder runs(std::span(s.encoded).first(size), 0, instructions);
                Bytes decoded(s.decoded.size());
                EXPECT_THROW(runs.read(decoded.data(), decoded.size()), InvalidImageError)
                    << int(instructions) << " cut to " << size;
            }
}

// copyRunOver may write up to kRunSlack bytes past its run, and no further.
TEST(ShortRuns, WriteTheirBytesAndStayInTheirRoom)
{
    for (std::size_t n = 0; n <= 200; ++n) {
        Bytes src(n + kRunSlack);
        for (std::size_t i = 0; i < src.size(); ++i)
            src[i] = std::uint8_t(i + 1);
        Bytes copied(n + 2, 0xee), filled(n + 2, 0xee), over(n + kRunSlack + 2, 0xee);
        copyRun(copied.data() + 1, src.data(), n);
        fillRun(filled.data() + 1, 9, n);
        copyRunOver(over.data() + 1, src.data(), n);
        Bytes expectCopied(n + 2, 0xee), expectFilled(n + 2, 0xee);
        std::copy_n(src.begin(), n, expectCopied.begin() + 1);
        std::fill_n(expectFilled.begin() + 1, n, 9);
        EXPECT_EQ(copied, expectCopied) << n;
        EXPECT_EQ(filled, expectFilled) << n;
        EXPECT_TRUE(std::equal(src.begin(), src.begin() + long(n), over.begin() + 1)) << n;
        EXPECT_EQ(over.front(), 0xee) << n;
        EXPECT_EQ(over.back(), 0xee) << n;
    }
}

// Streamed pixels start on any byte; blocks of 64 and of 16 pixels, and what is left.
TEST(InterleaveBgr, GivesBlueGreenRedAtAnyAlignment)
{
    for (const bool stream : {false, true})
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (const std::size_t pixels : {0, 1, 15, 16, 17, 40, 100, 300}) {
                Bytes r(pixels), g(pixels), b(pixels);
                Bytes expected(offset + 3 * pixels + 1, 0xee);
                for (std::size_t i = 0; i < pixels; ++i) {
                    r[i] = std::uint8_t(i), g[i] = std::uint8_t(100 + i), b[i] = std::uint8_t(200 + i);
                    expected[offset + 3 * i] = b[i];
                    expected[offset + 3 * i + 1] = g[i];
                    expected[offset + 3 * i + 2] = r[i];
                }
                Bytes dst(expected.size(), 0xee);
                interleaveBgr(r.data(), g.data(), b.data(), dst.data() + offset, pixels, stream);
                EXPECT_TRUE(dst == expected) << "stream " << stream << ", offset " << offset << ", pixels " << pixels
                                             << ": first difference at " << firstDifference(dst, expected);
            }
}

// An image larger than kStreamedImageBytes, its pixel (x, y) red x + y,
// green 7x + y, blue x xor y (all modulo 256).
constexpr int kLargeWidth = 1800, kLargeHeight = 1600;
static_assert(std::size_t(kLargeWidth) * 3 * kLargeHeight >= kStreamedImageBytes);

std::uint8_t largeSample(int channel, int x, int y)
{
    return std::uint8_t(channel == 0 ? x + y : channel == 1 ? 7 * x + y : x ^ y);
}

void expectLargeImage(const Bitmap& image)
{
    ASSERT_EQ(image.width(), kLargeWidth);
    ASSERT_EQ(image.height(), kLargeHeight);
    ASSERT_EQ(image.bitsPerPixel(), 24);
    int wrong = 0;
    for (int y = 0; y < kLargeHeight; ++y)
        for (int x = 0; x < kLargeWidth; ++x)
            for (int c = 0; c < 3; ++c)
                wrong += image.row(y)[3 * x + 2 - c] != largeSample(c, x, y);
    EXPECT_EQ(wrong, 0);
}

TEST(LargeImage, SgiVerbatimRowsComeOutInPlace)
{
    Builder b;
    b.be16(474).u8({0, 1}).be16(3).be16(kLargeWidth).be16(kLargeHeight).be16(3).pad(512);
    for (int c = 0; c < 3; ++c)
        for (int y = kLargeHeight - 1; y >= 0; --y) // bottom row first
            for (int x = 0; x < kLargeWidth; ++x)
                b.bytes.push_back(largeSample(c, x, y));
    expectLargeImage(decodeSgi(b.bytes));
}

// Literal packets of 1 to 128 pixels in turn, running on from row to row.
TEST(LargeImage, TargaRunLengthRowsComeOutInPlace)
{
    Builder b;
    b.u8({0, 0, 10}).zeros(9).le16(kLargeWidth).le16(kLargeHeight).u8({24, 0x20}); // top row first
    const std::size_t pixels = std::size_t(kLargeWidth) * kLargeHeight;
    for (std::size_t at = 0, packet = 0; at < pixels; ++packet) {
        const std::size_t n = std::min(packet % 128 + 1, pixels - at);
        b.u8({int(n - 1)});
        for (std::size_t i = at; i < at + n; ++i)
            for (int c = 2; c >= 0; --c)
                b.bytes.push_back(largeSample(c, int(i % kLargeWidth), int(i / kLargeWidth)));
        at += n;
    }
    expectLargeImage(decodeCodecTarga(b.bytes));
}

} // namespace
} // namespace px
