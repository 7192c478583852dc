#include "codecs/PcxRuns.h"

#include "codecs/ImageFileError.h"
#include "codecs/ShortRuns.h"

#include <algorithm>
#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace px {

namespace {

#if defined(__x86_64__)
// A window is 64 encoded bytes, `marks` the bits of those with their two
// top bits set. The window starts on a code, or on the value of a count
// that ended the window before, whose mark the caller clears. A marked byte
// is a count unless it is the value of the count just before it, so in each
// stretch of marked bytes the first, third, fifth... are counts. Adding a
// stretch's first bit to the stretch clears it and carries out of it: that
// tells the stretches starting on even bits, whose counts are on even bits,
// from those starting on odd bits.
constexpr std::uint64_t kEvenBits = 0x5555555555555555ull;

constexpr std::uint64_t countBytes(std::uint64_t marks)
{
    const std::uint64_t firsts = marks & ~(marks << 1);
    const std::uint64_t oddStretches = (marks + (firsts & kEvenBits)) & marks;
    return (marks & ~oddStretches & kEvenBits) | (oddStretches & ~kEvenBits);
}

// What a window decodes to. Single bytes stand for themselves; a run of one
// is its value (the count is dropped); a run of two is its value twice (the
// count is replaced by the byte after it). `keep` has the bits of the bytes
// that stay, in order, `doubled` those replaced by the next byte. The window
// stops (`length` < 64) before the first other run (none, or three bytes
// and more), and before the first code that would not fit in the `room`
// bytes left in the line; it then ends on a code.
struct Window {
    std::uint64_t keep;
    std::uint64_t doubled;
    std::uint64_t counts;
    unsigned length;
    bool stops;
};

inline Window planWindow(std::uint64_t counts, std::uint64_t ones, std::uint64_t twos, std::size_t room)
{
    Window w{~(counts & ones), counts & twos, counts, 64, false};
    const std::uint64_t others = counts & ~(ones | twos);
    if (others == 0 && (room >= 64 || std::size_t(std::popcount(w.keep)) <= room))
        return w;
    // Counts never follow counts: the bytes before the first other count end on a code.
    unsigned length = others ? unsigned(std::countr_zero(others)) : 64;
    std::uint64_t within = length == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << length) - 1;
    if (std::size_t(std::popcount(w.keep & within)) > room) {
        // The first kept byte past the room, or the count it is the value of.
        std::uint64_t past = w.keep;
        for (std::size_t i = 0; i < room; ++i)
            past &= past - 1;
        const unsigned first = unsigned(std::countr_zero(past));
        length = first - unsigned(counts >> (first - 1) & 1);
        within = (std::uint64_t(1) << length) - 1;
    }
    return {w.keep & within, w.doubled & within, 0, length, true};
}

// The counts of a window, given whether its first byte is the value of a
// count in the window before. Both cases are worked out from the marks
// alone, so that each window waits on the one before for a single choice.
inline std::uint64_t windowCounts(std::uint64_t marks, std::uint64_t valueFirst)
{
    const std::uint64_t onCode = countBytes(marks);
    const std::uint64_t onValue = countBytes(marks & ~std::uint64_t(1));
    return valueFirst ? onValue : onCode;
}

// Decodes src[at..end) into dst[out..count) window by window while a window
// and the byte after it remain to read, with the runs windows stop at in
// between. Returns true when the last window ended on a count of one or two:
// src[at] is then its value, still to be given once more. Leaves the rest
// (the end of the data, a run that ends in the next line) to the
// code-by-code decoder. Writes nothing past dst[count].
__attribute__((target("avx512f,avx512bw,avx512vbmi2,popcnt,bmi"))) bool
decodeWindowsAvx512(const std::uint8_t* src, std::size_t& atRef, std::size_t end, std::uint8_t* dst,
                    std::size_t& outRef, std::size_t count)
{
    const __m512i top = _mm512_set1_epi8(char(0xc0));
    const __m512i one = _mm512_set1_epi8(char(0xc1));
    const __m512i two = _mm512_set1_epi8(char(0xc2));
    const auto upTo = [](std::size_t n) { return n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1; };
    std::size_t at = atRef, out = outRef;
    std::uint64_t valueFirst = 0;
    while (out < count && end - at >= 65) {
        const __m512i v = _mm512_loadu_si512(src + at);
        const __m512i next = _mm512_loadu_si512(src + at + 1);
        const std::size_t room = count - out;
        const Window w = planWindow(windowCounts(_mm512_cmpge_epu8_mask(v, top), valueFirst),
                                    _mm512_cmpeq_epi8_mask(v, one), _mm512_cmpeq_epi8_mask(v, two), room);
        const __m512i values = _mm512_mask_blend_epi8(w.doubled, v, next);
        _mm512_mask_storeu_epi8(dst + out, upTo(room), _mm512_maskz_compress_epi8(w.keep, values));
        out += std::size_t(std::popcount(w.keep));
        at += w.length;
        valueFirst = w.counts >> 63;
        if (w.stops) {
            // A run that fits in the line; any other code goes byte by byte.
            const std::size_t n = src[at] & 0x3f;
            if (out == count || src[at] < 0xc0 || n > count - out)
                break;
            _mm512_mask_storeu_epi8(dst + out, upTo(n), _mm512_set1_epi8(char(src[at + 1])));
            out += n;
            at += 2;
        }
    }
    // A full line ends before a run of one whose count closed the last
    // window: the run belongs to the next line.
    if (valueFirst && out == count && src[at - 1] == 0xc1) {
        --at;
        valueFirst = 0;
    }
    atRef = at;
    outRef = out;
    return valueFirst != 0;
}

// Shuffles that gather the bytes of an 8-bit mask to the front: row m lists
// the positions of the set bits of m.
struct Gather8 {
    alignas(16) std::uint8_t index[256][8];
    constexpr Gather8() : index{}
    {
        for (int m = 0; m < 256; ++m) {
            int n = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (m >> bit & 1)
                    index[m][n++] = std::uint8_t(bit);
        }
    }
};
constexpr Gather8 kGather8;

// The same in 16-byte registers: a window in four quarters, its decoded
// bytes gathered eight encoded bytes at a time. Each window and each run
// stores 64 bytes from dst[out], so both need 64 bytes of room.
__attribute__((target("sse4.1,popcnt,bmi"))) bool decodeWindowsSse41(const std::uint8_t* src, std::size_t& atRef,
                                                                     std::size_t end, std::uint8_t* dst,
                                                                     std::size_t& outRef, std::size_t count)
{
    const __m128i top = _mm_set1_epi8(char(0xc0));
    const __m128i one = _mm_set1_epi8(char(0xc1));
    const __m128i two = _mm_set1_epi8(char(0xc2));
    // Bit i of a 16-bit mask to byte i: each byte takes the mask byte holding its bit, then tests it.
    const __m128i spread = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const __m128i bitOf = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m128i highHalf = _mm_set1_epi8(8);
    std::size_t at = atRef, out = outRef;
    std::uint64_t valueFirst = 0;
    while (count - out >= 64 && end - at >= 65) {
        __m128i v[4];
        std::uint64_t marks = 0, ones = 0, twos = 0;
        for (int q = 0; q < 4; ++q) {
            v[q] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at + 16 * q));
            const auto bits = [q](__m128i m) { return std::uint64_t(unsigned(_mm_movemask_epi8(m))) << (16 * q); };
            marks |= bits(_mm_cmpeq_epi8(_mm_max_epu8(v[q], top), v[q]));
            ones |= bits(_mm_cmpeq_epi8(v[q], one));
            twos |= bits(_mm_cmpeq_epi8(v[q], two));
        }
        const Window w = planWindow(windowCounts(marks, valueFirst), ones, twos, count - out);
        for (int q = 0; q < 4; ++q) {
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at + 1 + 16 * q));
            const __m128i doubledBits = _mm_shuffle_epi8(_mm_set1_epi16(short(w.doubled >> (16 * q))), spread);
            const __m128i doubled = _mm_cmpeq_epi8(_mm_and_si128(doubledBits, bitOf), bitOf);
            const __m128i values = _mm_blendv_epi8(v[q], next, doubled);
            for (int half = 0; half < 2; ++half) {
                const unsigned keep = unsigned(w.keep >> (16 * q + 8 * half)) & 0xff;
                __m128i order = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kGather8.index[keep]));
                if (half)
                    order = _mm_add_epi8(order, highHalf);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + out), _mm_shuffle_epi8(values, order));
                out += std::size_t(std::popcount(keep));
            }
        }
        at += w.length;
        valueFirst = w.counts >> 63;
        if (w.stops) {
            const std::size_t n = src[at] & 0x3f;
            if (count - out < 64 || src[at] < 0xc0)
                break;
            const __m128i run = _mm_set1_epi8(char(src[at + 1]));
            for (int q = 0; q < 4; ++q)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + out + 16 * q), run);
            out += n;
            at += 2;
        }
    }
    atRef = at;
    outRef = out;
    return valueFirst != 0;
}

bool hasAvx512()
{
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
}

bool hasSse41()
{
    return __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
}
#endif

} // namespace

const std::vector<PcxRunInstructions>& pcxRunInstructionsAvailable()
{
    static const std::vector<PcxRunInstructions> available = [] {
        std::vector<PcxRunInstructions> v{PcxRunInstructions::Bytes};
#if defined(__x86_64__)
        if (hasSse41())
            v.push_back(PcxRunInstructions::Sse41);
        if (hasAvx512())
            v.push_back(PcxRunInstructions::Avx512);
#endif
        return v;
    }();
    return available;
}

PcxRunDecoder::PcxRunDecoder(std::span<const std::uint8_t> data, std::size_t position)
    : PcxRunDecoder(data, position, pcxRunInstructionsAvailable().back())
{
}

PcxRunDecoder::PcxRunDecoder(std::span<const std::uint8_t> data, std::size_t position, PcxRunInstructions instructions)
    : data_(data), at_(position)
{
#if defined(__x86_64__)
    if (instructions == PcxRunInstructions::Avx512) {
        windows_ = decodeWindowsAvx512;
        windowRoom_ = 1;
    } else if (instructions == PcxRunInstructions::Sse41) {
        windows_ = decodeWindowsSse41;
        windowRoom_ = 64;
    }
#else
    (void)instructions;
#endif
}

void PcxRunDecoder::read(std::uint8_t* dst, std::size_t count)
{
    const std::uint8_t* src = data_.data();
    const std::size_t end = data_.size();
    std::size_t at = at_, out = 0;
    if (left_ > 0) { // a run carried over from the previous line
        const std::size_t n = std::min(left_, count);
        fillRun(dst, value_, n);
        out = n;
        left_ -= n;
    }
    while (out < count) {
        if (windows_ && count - out >= windowRoom_ && end - at >= 65) {
            if (windows_(src, at, end, dst, out, count)) {
                const std::uint8_t v = src[at++];
                if (out < count) {
                    dst[out++] = v;
                } else {
                    left_ = 1;
                    value_ = v;
                }
            }
            if (out == count)
                break;
        }
        if (at >= end)
            throw InvalidImageError("données tronquées");
        const std::uint8_t b = src[at++];
        if ((b & 0xc0) != 0xc0) {
            dst[out++] = b;
            continue;
        }
        if (at >= end)
            throw InvalidImageError("données tronquées");
        const std::size_t n = b & 0x3f;
        const std::uint8_t v = src[at++];
        if (n <= count - out) {
            fillRun(dst + out, v, n);
            out += n;
        } else {
            fillRun(dst + out, v, count - out);
            left_ = n - (count - out);
            value_ = v;
            out = count;
        }
    }
    at_ = at;
}

} // namespace px
