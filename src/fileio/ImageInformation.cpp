#include "fileio/ImageInformation.h"

#include "fileio/FormatTable.h"

#include <charconv>
#include <ctime>
#include <limits>
#include <sys/stat.h>

namespace px {

namespace {

constexpr std::uint64_t kKo = 1024;
constexpr std::uint64_t kMo = 1024 * 1024;
constexpr const char* kTrueColour = "24 (16.7 millions de couleurs)";

} // namespace

std::string SizeText(std::uint64_t bytes)
{
    if (bytes < kKo)
        return std::to_string(bytes) + " octets";
    if (bytes < kMo)
        return std::to_string(bytes / kKo) + " Ko";
    return std::to_string(bytes / kMo) + " Mo";
}

std::uint64_t FileSizeOf(const std::filesystem::path& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    return std::uint64_t(st.st_size);
}

LocalDateTime FileDateOf(const std::filesystem::path& path)
{
    struct stat st {};
    std::tm local{};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !::localtime_r(&st.st_mtime, &local))
        return kZeroDate;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<std::string> depthText(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 24:
        return kTrueColour;
    case 8:
        return "8 (256 couleurs)";
    case 4:
        return "4 (16 couleurs)";
    case 1:
        return "1 (2 couleurs)";
    default:
        return std::nullopt;
    }
}

std::optional<std::uint64_t> newImageSize(int width, int height, int bitsPerPixel)
{
    const std::uint64_t pixels = std::uint64_t(width > 0 ? width : 0) * std::uint64_t(height > 0 ? height : 0);
    switch (bitsPerPixel) {
    case 24:
        return pixels * 3;
    case 8:
        return pixels;
    case 4:
        return pixels / 2;
    case 1:
        return pixels / 8;
    default:
        return std::nullopt;
    }
}

InformationReport informationReport(const ImageFacts& image)
{
    InformationReport report;
    report.width = std::to_string(image.width);
    report.height = std::to_string(image.height);
    if (image.newImage) {
        report.name = image.caption;
        report.type = kNoFormat;
        report.notCreated = true;
        report.bits = depthText(image.bitsPerPixel);
        if (const auto size = newImageSize(image.width, image.height, image.bitsPerPixel))
            report.size = SizeText(*size);
        return report;
    }
    report.size = SizeText(FileSizeOf(image.path));
    report.modified = FileDateOf(image.path);
    if (const InformationType* type = informationTypeFor(image.caption)) {
        report.name = image.caption;
        report.type = std::string(type->text);
        report.bits = type->depthOfBitmap ? depthText(image.bitsPerPixel) : std::optional<std::string>(kTrueColour);
    } else if (const RegisteredFormat* format = registeredFormatFor(image.caption)) {
        report.name = image.caption;
        report.type = std::string(format->description);
        report.bits = depthText(image.bitsPerPixel);
    }
    return report;
}

std::uint64_t downloadSize(const ImageFacts& image)
{
    if (!image.newImage)
        return FileSizeOf(image.path);
    return newImageSize(image.width, image.height, image.bitsPerPixel).value_or(0);
}

std::string downloadTimeText(std::uint64_t bytes, std::string_view rate)
{
    std::uint64_t perSecond = 0;
    const char* end = rate.data() + rate.size();
    const auto [stop, error] = std::from_chars(rate.data(), end, perSecond);
    if (error == std::errc::result_out_of_range)
        perSecond = std::numeric_limits<std::uint64_t>::max();
    else if (error != std::errc() || stop != end || perSecond == 0)
        return "-";
    // A rate beyond what a byte count can reach moves any file in 0 s.
    const std::uint64_t seconds = perSecond > bytes / kKo ? 0 : bytes / (perSecond * kKo);
    return std::to_string(seconds) + " s";
}

} // namespace px
