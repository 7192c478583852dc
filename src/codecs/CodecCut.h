#pragma once
// Dr. Halo images (.cut): 8-bit palette indices in run-length lines, with
// their colours in the palette file of the same name (".pal") beside them.
//
// A line is a 16-bit byte count followed by packets: a byte whose low seven
// bits are zero ends the line; with the high bit set the next byte is
// repeated (low bits) times, otherwise (low bits) literal bytes follow. The
// count is not needed: once a line is full, the next packet byte ends it
// whatever its value. Pixels a line leaves out are index 0; a packet that
// passes the width raises InvalidImageError, as does data cut short.
//
// The palette file: a 40-byte header ("AH", version, size, file type,
// subtype, board, graphics mode, last index, largest red, green and blue
// value, a 20-byte name), then red, green, blue 16-bit values per entry,
// scaled from 0..largest to 0..255; an entry never straddles a 512-byte
// block (the rest of such a block is skipped). Without a palette file, or
// with one that is not valid, the image takes a grey ramp.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace px {

// Colours of a palette file's bytes, or nothing when they are not one.
std::optional<std::vector<Colour>> decodeHaloPalette(std::span<const std::uint8_t> data);

// The image with `palette` (a grey ramp when it is empty).
Bitmap decodeCut(std::span<const std::uint8_t> data, std::span<const Colour> palette = {});
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodeCutInto(std::span<const std::uint8_t> data, std::span<const Colour> palette, Bitmap& bmp);

// The palette file beside `path`: the same name with the extension ".pal"
// in any case; nothing when there is none.
std::optional<std::filesystem::path> haloPaletteFileFor(const std::filesystem::path& path);

// The image in `data`, read from `path`, with the colours of the palette
// file beside it when it has a valid one.
Bitmap decodeCutFile(std::span<const std::uint8_t> data, const std::filesystem::path& path);

} // namespace px
