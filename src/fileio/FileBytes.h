#pragma once
// Whole-file reads shared by the image readers.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace px {

// The whole content of a regular file. Throws InvalidImageError when it
// cannot be read, is not a regular file or is larger than any image the
// program accepts.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);

} // namespace px
