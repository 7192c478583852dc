#pragma once
// The run-length coding of PCX lines: a byte with its two top bits set
// repeats the next byte (its low six bits) times, any other byte stands for
// itself. Lines follow one another and a run may end in the next line.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace px {

// Which instructions decode the common codes (single bytes, runs of one or
// two) 64 encoded bytes at a time; Bytes decodes code by code throughout.
enum class PcxRunInstructions { Bytes, Sse41, Avx512 };

// Those this processor has, Bytes first and the fastest last.
const std::vector<PcxRunInstructions>& pcxRunInstructionsAvailable();

class PcxRunDecoder {
public:
    // Decodes data[position..) with the fastest instructions available.
    PcxRunDecoder(std::span<const std::uint8_t> data, std::size_t position);
    // The same with the given instructions, which the processor must have.
    PcxRunDecoder(std::span<const std::uint8_t> data, std::size_t position, PcxRunInstructions instructions);

    // The next `count` decoded bytes into dst. Raises InvalidImageError
    // when the data ends first.
    void read(std::uint8_t* dst, std::size_t count);

    // The first encoded byte not yet decoded (a run carried into the next
    // line has been read whole).
    std::size_t position() const { return at_; }

private:
    using Windows = bool (*)(const std::uint8_t*, std::size_t&, std::size_t, std::uint8_t*, std::size_t&, std::size_t);

    std::span<const std::uint8_t> data_;
    std::size_t at_;
    Windows windows_ = nullptr;
    std::size_t windowRoom_ = 0; // the room in the line windows_ needs
    std::size_t left_ = 0;       // bytes of a run still to give, of value_
    std::uint8_t value_ = 0;
};

} // namespace px
