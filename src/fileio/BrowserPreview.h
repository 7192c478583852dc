#pragma once
// "Aperç&u du navigateur...": a small web page that shows the document's
// file, centred on the background colour, with its path under it.
#include "graphics/Colour.h"

#include <filesystem>
#include <string>

namespace px {

inline constexpr const char* kPreviewPageName = "pxrn3.html";

// The colour's red, green and blue bytes as six upper-case hexadecimal digits.
std::string ColorToHexRGB(Colour colour);

// The page's twelve lines, each ended by "\n". The image is referred to by
// its file: address (the absolute path, bytes outside letters, digits and
// "-._~/" written as %XX) and the caption is the path; both are escaped for
// HTML, so no file name can add markup to the page.
std::string browserPreviewPage(const std::filesystem::path& imagePath, Colour background);

// Writes the page for `imagePath` as kPreviewPageName in `folder`
// (replacing an older one, atomically) and returns the page's path. Throws
// FileWriteError.
std::filesystem::path writeBrowserPreview(const std::filesystem::path& folder, const std::filesystem::path& imagePath,
                                          Colour background);

} // namespace px
