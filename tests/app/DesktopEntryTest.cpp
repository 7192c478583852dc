// The desktop entry offers the program for every image type it opens: the
// MIME type of each extension the open command reads is in its MimeType key.
#include "fileio/FormatTable.h"

#include <QMimeDatabase>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace px {
namespace {

std::set<std::string> listedTypes()
{
    std::ifstream entry(std::string(PIXORAN3_SOURCE_DIR) + "/resources/desktop/pixoran3.desktop");
    std::set<std::string> types;
    for (std::string line; std::getline(entry, line);)
        if (line.starts_with("MimeType=")) {
            std::istringstream list(line.substr(9));
            for (std::string type; std::getline(list, type, ';');)
                if (!type.empty())
                    types.insert(type);
        }
    return types;
}

TEST(DesktopEntry, ListsTheTypeOfEveryReadableExtension)
{
    const std::set<std::string> listed = listedTypes();
    ASSERT_FALSE(listed.empty());
    const QMimeDatabase mime;
    int readable = 0;
    for (const FileFormat& format : fileFormats()) {
        const std::string extension(format.extension);
        const RegisteredFormat* registered = findRegisteredFormat(extension);
        if (extension.empty() || (!format.read && !(registered && registered->decode)))
            continue;
        ++readable;
        const std::string type = mime.mimeTypeForFile(QStringLiteral("x.") + QString::fromStdString(extension),
                                                      QMimeDatabase::MatchExtension)
                                     .name()
                                     .toStdString();
        // Extensions the desktop does not know as images (".vst" is a drawing
        // of another program for it) are not claimed.
        if (!type.starts_with("image/"))
            continue;
        EXPECT_TRUE(listed.count(type)) << "." << extension << " (" << type << ") is not in the desktop entry";
    }
    EXPECT_GE(readable, 7);
}

} // namespace
} // namespace px
