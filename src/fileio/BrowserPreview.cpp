#include "fileio/BrowserPreview.h"

#include "platform/AtomicFile.h"

namespace px {

namespace {

std::string htmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool keptInAddress(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

std::string fileAddress(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        absolute = path;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string address = "file://";
    for (unsigned char c : absolute.string()) {
        if (keptInAddress(c)) {
            address += char(c);
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    return address;
}

} // namespace

std::string ColorToHexRGB(Colour colour)
{
    return colourHexText(colour).substr(1);
}

std::string browserPreviewPage(const std::filesystem::path& imagePath, Colour background)
{
    return "<html>\n"
           "<head>\n"
           "<title>Pixoran3 - Aperçu du navigateur</title>\n"
           "</head>\n"
           "<body bgcolor=\"#" +
           ColorToHexRGB(background) +
           "\">\n"
           "<center>\n"
           "<img src=\"" +
           htmlEscaped(fileAddress(imagePath)) +
           "\">\n"
           "<br>\n" +
           htmlEscaped(imagePath.string()) +
           "\n"
           "</center>\n"
           "</body>\n"
           "</html>\n";
}

std::filesystem::path writeBrowserPreview(const std::filesystem::path& folder, const std::filesystem::path& imagePath,
                                          Colour background)
{
    const std::filesystem::path page = folder / kPreviewPageName;
    const std::string text = browserPreviewPage(imagePath, background);
    writeFileAtomically(page, text.data(), text.size());
    return page;
}

} // namespace px
