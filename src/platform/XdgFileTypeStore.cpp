#include "platform/XdgFileTypeStore.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace px {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDefaultsSection = "[Default Applications]";

fs::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return fs::path("/");
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default under the home folder.
fs::path baseFolder(const char* variable, const char* underHome)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    return homeFolder() / underHome;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool sameMimeType(std::string_view a, std::string_view b)
{
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

void writeText(const fs::path& path, const std::string& text)
{
    std::error_code ec;
    if (!path.parent_path().empty())
        fs::create_directories(path.parent_path(), ec);
    writeFileAtomically(path, text.data(), text.size());
}

// A file as lines, each with its own line end ("\n", "\r\n", or "" for a
// last line without one). A missing file has no lines; one that exists but
// cannot be read refuses a caller about to rewrite it.
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> readLines(const fs::path& path, bool forWriting)
{
    std::vector<Line> lines;
    std::ifstream in;
    if (!openForRewrite(in, path, forWriting))
        return lines;
    std::string text;
    while (std::getline(in, text)) {
        Line line{std::move(text), in.eof() ? "" : "\n"};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end.insert(0, "\r");
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Where the defaults of a MIME type are in a mimeapps.list file.
struct DefaultsEntry {
    std::size_t sectionStart = std::string::npos; // the header line
    std::size_t sectionEnd = 0;                   // one past the last line of the section
    std::size_t line = std::string::npos;         // the key's line
    std::vector<std::string> applications;
};

std::vector<std::string> splitList(std::string_view value)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(';', start), value.size());
        if (std::string item = trimmed(value.substr(start, end - start)); !item.empty())
            items.push_back(std::move(item));
        start = end + 1;
    }
    return items;
}

DefaultsEntry findDefaults(const std::vector<Line>& lines, const std::string& mimeType)
{
    DefaultsEntry entry;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string text = trimmed(lines[i].text);
        if (entry.sectionStart == std::string::npos) {
            if (text == kDefaultsSection) {
                entry.sectionStart = i;
                entry.sectionEnd = i + 1;
            }
            continue;
        }
        if (text.starts_with('['))
            break;
        if (text.empty() || text.starts_with('#'))
            continue;
        entry.sectionEnd = i + 1;
        const auto equals = text.find('=');
        if (entry.line == std::string::npos && equals != std::string::npos &&
            sameMimeType(trimmed(std::string_view(text).substr(0, equals)), mimeType)) {
            entry.line = i;
            entry.applications = splitList(std::string_view(text).substr(equals + 1));
        }
    }
    return entry;
}

std::string joinList(const std::vector<std::string>& items)
{
    std::string value;
    for (const std::string& item : items)
        value += item + ';';
    return value;
}

// Rewrites the default applications of `mimeType` as `change` makes them;
// the file is not touched when they stay the same.
void editDefaults(const fs::path& path, const std::string& mimeType,
                  const std::function<std::vector<std::string>(std::vector<std::string>)>& change)
{
    std::vector<Line> lines = readLines(path, true);
    const DefaultsEntry entry = findDefaults(lines, mimeType);
    const std::vector<std::string> applications = change(entry.applications);
    if (applications == entry.applications)
        return;

    if (entry.line != std::string::npos) {
        Line& line = lines[entry.line];
        if (applications.empty()) {
            lines.erase(lines.begin() + std::ptrdiff_t(entry.line));
        } else {
            // The key keeps its own spelling and spacing.
            line.text = line.text.substr(0, line.text.find('=') + 1) + joinList(applications);
        }
    } else {
        Line added{mimeType + '=' + joinList(applications), "\n"};
        if (entry.sectionStart == std::string::npos) {
            if (!lines.empty() && lines.back().end.empty())
                lines.back().end = "\n";
            lines.push_back({std::string(kDefaultsSection), "\n"});
            lines.push_back(std::move(added));
        } else {
            if (lines[entry.sectionEnd - 1].end.empty())
                lines[entry.sectionEnd - 1].end = "\n";
            lines.insert(lines.begin() + std::ptrdiff_t(entry.sectionEnd), std::move(added));
        }
    }

    std::string text;
    for (const Line& line : lines)
        text += line.text + line.end;
    writeText(path, text);
}

} // namespace

XdgFileTypePaths XdgFileTypePaths::fromEnvironment()
{
    const fs::path config = baseFolder("XDG_CONFIG_HOME", ".config");
    const fs::path data = baseFolder("XDG_DATA_HOME", ".local/share");
    return {config / "Pixoran3.reg", data / "applications" / XdgFileTypeStore::kDesktopId, config / "mimeapps.list"};
}

void XdgFileTypeStore::setDefaultValue(const std::string& key, const std::string& value)
{
    classes_.setValue(key, std::string(), value);
}

std::optional<std::string> XdgFileTypeStore::defaultValue(const std::string& key) const
{
    return classes_.value(key);
}

void XdgFileTypeStore::writeDesktopEntry(const std::string& command, std::span<const std::string> mimeTypes)
{
    std::string mime;
    for (const std::string& type : mimeTypes)
        mime += type + ';';
    const std::string text = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Pixoran3\n"
                             "GenericName=Éditeur d'images\n"
                             "Comment=Peindre et appliquer des effets aux images\n"
                             "Exec=" +
                             desktopEntryValue(command) +
                             "\n"
                             "Terminal=false\n"
                             "Categories=Graphics;2DGraphics;RasterGraphics;\n"
                             "MimeType=" +
                             mime + "\n";
    writeText(paths_.desktopEntry, text);
}

void XdgFileTypeStore::setDesktopDefault(const std::string& mimeType)
{
    editDefaults(paths_.mimeApps, mimeType, [](std::vector<std::string> applications) {
        std::erase(applications, std::string(kDesktopId));
        applications.insert(applications.begin(), kDesktopId);
        return applications;
    });
}

void XdgFileTypeStore::restoreDesktopDefault(const std::string& mimeType)
{
    editDefaults(paths_.mimeApps, mimeType, [](std::vector<std::string> applications) {
        std::erase(applications, std::string(kDesktopId));
        return applications;
    });
}

std::vector<std::string> desktopDefaults(const fs::path& mimeApps, const std::string& mimeType)
{
    return findDefaults(readLines(mimeApps, false), mimeType).applications;
}

std::string desktopEntryValue(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace px
