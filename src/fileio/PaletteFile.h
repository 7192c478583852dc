#pragma once
// Palette files (".pal", text): the first line holds the number of colours N,
// then N lines of three decimal integers red, green and blue separated by
// blanks. A palette read from a file fills the 236 free entries of a
// 256-entry palette around the 20 static entries of the system palette.
#include "graphics/Colour.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace px {

class PaletteFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 256-entry logical palette with the per-entry flags of the drawing layer.
struct LogicalPalette {
    static constexpr std::uint8_t kReserved = 0x01; // the entry may be animated
    std::array<Colour, 256> colours{};
    std::array<std::uint8_t, 256> flags{};
};

inline constexpr int kMaxFilePaletteColours = 236;
inline constexpr int kFirstFreeEntry = 10;

// The colours of a palette file's text. A count over 236 is read as 236 and
// the lines after the 236th colour are ignored; channel values are clamped to
// 0..255. Throws PaletteFileError for a missing or non-positive count, or
// fewer colour lines than the count announces (the file is then refused as a
// whole, so the caller can keep its previous palette).
std::vector<Colour> parsePaletteText(const std::string& text);

// The 256-entry palette for the file's colours: entries 0..9 and 246..255
// from `system`, entries 10.. the file's colours, and when fewer than 236
// the rest up to 245 repeats them cyclically (entry 10 + k takes the colour
// of entry 10 + k - N). Entries from the file carry kReserved.
LogicalPalette paletteFromFileColours(const std::vector<Colour>& fileColours, const std::array<Colour, 256>& system);

// Reads and parses the file. Throws PaletteFileError naming the file when it
// cannot be read or is malformed.
std::vector<Colour> readPaletteFile(const std::filesystem::path& path);

// The text of a palette file: the count, then one "r g b" line per colour.
std::string paletteText(const std::vector<Colour>& colours);
// Writes the file atomically; throws FileWriteError.
void writePaletteFile(const std::filesystem::path& path, const std::vector<Colour>& colours);

} // namespace px
