#include "fileio/PaletteFile.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

namespace px {

namespace {

// Reads one decimal integer, skipping blanks and line breaks before it as the
// text readers of palette files always did. Values too large for the type
// saturate, so that clamping still gives 0 or 255.
bool readInt(std::istream& in, long long& value)
{
    in >> value;
    if (!in.fail())
        return true;
    if (value == std::numeric_limits<long long>::max() || value == std::numeric_limits<long long>::min()) {
        in.clear();
        return true;
    }
    return false;
}

void skipRestOfLine(std::istream& in)
{
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

std::uint8_t channel(long long v)
{
    return ClampByte(int(std::clamp<long long>(v, -1, 256)));
}

} // namespace

std::vector<Colour> parsePaletteText(const std::string& text)
{
    std::istringstream in(text);
    long long count = 0;
    if (!readInt(in, count) || count <= 0)
        throw PaletteFileError("Nombre de couleurs incorrect dans le fichier de palette");
    skipRestOfLine(in);
    count = std::min<long long>(count, kMaxFilePaletteColours);

    std::vector<Colour> colours;
    colours.reserve(std::size_t(count));
    while (colours.size() < std::size_t(count)) {
        long long r = 0, g = 0, b = 0;
        if (!readInt(in, r) || !readInt(in, g) || !readInt(in, b))
            throw PaletteFileError("Couleur " + std::to_string(colours.size() + 1) +
                                   " manquante ou incorrecte dans le fichier de palette");
        skipRestOfLine(in);
        colours.push_back(makeColour(channel(r), channel(g), channel(b)));
    }
    return colours;
}

LogicalPalette paletteFromFileColours(const std::vector<Colour>& fileColours, const std::array<Colour, 256>& system)
{
    LogicalPalette p;
    p.colours = system;
    const int n = int(std::min<std::size_t>(fileColours.size(), kMaxFilePaletteColours));
    if (n == 0)
        return p;
    for (int k = 0; k < kMaxFilePaletteColours; ++k) {
        p.colours[kFirstFreeEntry + k] = fileColours[std::size_t(k % n)];
        p.flags[kFirstFreeEntry + k] = LogicalPalette::kReserved;
    }
    return p;
}

std::vector<Colour> readPaletteFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw PaletteFileError("Impossible d'ouvrir le fichier " + path.string());
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad())
        throw PaletteFileError("Erreur de lecture du fichier " + path.string());
    try {
        return parsePaletteText(content.str());
    } catch (const PaletteFileError& e) {
        throw PaletteFileError(path.string() + " : " + e.what());
    }
}

std::string paletteText(const std::vector<Colour>& colours)
{
    std::string text = std::to_string(colours.size()) + "\r\n";
    for (Colour c : colours)
        text += std::to_string(redOf(c)) + ' ' + std::to_string(greenOf(c)) + ' ' + std::to_string(blueOf(c)) + "\r\n";
    return text;
}

void writePaletteFile(const std::filesystem::path& path, const std::vector<Colour>& colours)
{
    const std::string text = paletteText(colours);
    writeFileAtomically(path, text.data(), text.size());
}

} // namespace px
