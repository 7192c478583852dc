// Feeds arbitrary bytes to the reader: it must return a bitmap or raise the
// reader's own errors, never crash, leak or read outside its buffers.
// The same bytes, past the first, as run-length lines of 1 to 256 bytes
// (the first byte says which): every instruction set the run decoder has
// must give the same lines, stand at the same place after each and refuse
// the same line.
#include "codecs/CodecPcx.h"
#include "codecs/ImageFileError.h"
#include "codecs/PcxRuns.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct Lines {
    std::vector<std::uint8_t> bytes; // the lines decoded whole
    std::vector<std::size_t> positions;
    bool refused = false;

    bool operator==(const Lines&) const = default;
};

Lines decodeLines(std::span<const std::uint8_t> data, std::size_t line, px::PcxRunInstructions instructions)
{
    Lines lines;
    px::PcxRunDecoder runs(data, 0, instructions);
    std::vector<std::uint8_t> buffer(line);
    // Each encoded byte gives at most 63 bytes.
    while (lines.bytes.size() < 64 * (data.size() + 1)) {
        try {
            runs.read(buffer.data(), line);
        } catch (const px::InvalidImageError&) {
            lines.refused = true;
            break;
        }
        lines.bytes.insert(lines.bytes.end(), buffer.begin(), buffer.end());
        lines.positions.push_back(runs.position());
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const px::Bitmap bmp = px::decodeCodecPcx({data, size});
        if (!bmp.isEmpty())
            (void)bmp.row(bmp.height() - 1)[bmp.stride() - 1];
    } catch (const px::InvalidImageError&) {
    } catch (const px::BitmapError&) {
    }

    if (size == 0)
        return 0;
    const std::span<const std::uint8_t> encoded(data + 1, size - 1);
    const std::size_t line = std::size_t(data[0]) + 1;
    const auto& available = px::pcxRunInstructionsAvailable();
    const Lines first = decodeLines(encoded, line, available.front());
    for (std::size_t i = 1; i < available.size(); ++i)
        if (!(decodeLines(encoded, line, available[i]) == first))
            __builtin_trap();
    return 0;
}
