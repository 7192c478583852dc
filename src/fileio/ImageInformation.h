#pragma once
// What "&Informations..." and "&Temps de téléchargements..." say about an
// image window: the file's size and date, the format's type text, the
// colour depth, and for a new image (no file yet) the size estimated from
// its pixels. The windows that show them only copy the texts into labels.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace px {

// "n octets" below 1 Ko, "n Ko" below 1 Mo, else "n Mo"; whole units,
// rounded down (1 Ko is 1024 bytes).
std::string SizeText(std::uint64_t bytes);

// The size in bytes of the file (of whatever kind) at `path`; 0 when there
// is none, and for a folder or other entry without contents.
std::uint64_t FileSizeOf(const std::filesystem::path& path);

// A date and time of the local clock.
struct LocalDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const LocalDateTime&) const = default;
};

// The date of an entry that does not exist: the zero of the date values,
// 30 December 1899 at midnight.
inline constexpr LocalDateTime kZeroDate{};

// The last-write time of the entry at `path` in local time; kZeroDate when
// there is none.
LocalDateTime FileDateOf(const std::filesystem::path& path);

// "24 (16.7 millions de couleurs)", "8 (256 couleurs)", "4 (16 couleurs)",
// "1 (2 couleurs)"; nothing for another depth.
std::optional<std::string> depthText(int bitsPerPixel);

// The bytes of a new image's pixels: width x height times 3 (24 bits),
// times 1 (8 bits), halved (4 bits) or divided by 8 (1 bit), rounded down;
// nothing for another depth.
std::optional<std::uint64_t> newImageSize(int width, int height, int bitsPerPixel);

// The image window a report is about.
struct ImageFacts {
    bool newImage = false;      // never saved: the caption is "Image"
    std::string caption;        // the file name without folder
    std::filesystem::path path; // the document's full path
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
};

// The labels of "&Informations...". A label whose member is empty keeps
// the text it had: the window lives for the whole run.
struct InformationReport {
    std::string width;
    std::string height;
    std::optional<std::string> name;
    std::optional<std::string> type;
    std::optional<std::string> bits;
    std::optional<std::string> size;
    std::optional<LocalDateTime> modified; // the file's last write
    bool notCreated = false;               // a new image: date and time read kNotCreated
};

inline constexpr const char* kNoFormat = "Pas de format";
inline constexpr const char* kNotCreated = "Image non créée";

// The report of a file: its size and date; its name, type and depth when
// the format is known (the information type of the extension, else the
// description of its registered format, with the bitmap's own depth), and
// nothing of the three for an unknown extension. The report of a new
// image: kNoFormat, its depth and the estimated size.
InformationReport informationReport(const ImageFacts& image);

// The bytes a download moves: the file's size, or a new image's estimate
// (0 for another depth).
std::uint64_t downloadSize(const ImageFacts& image);

// The time to move `bytes` at the rate typed in a rate box, in Ko per
// second: the whole seconds followed by " s", or "-" when the rate is
// empty, 0 or not a number.
std::string downloadTimeText(std::uint64_t bytes, std::string_view rate);

} // namespace px
