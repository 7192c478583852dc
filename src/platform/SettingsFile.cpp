#include "platform/SettingsFile.h"

#include <cstdlib>
#include <fstream>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace px {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// One line of the file as read: its text without the line end, and the line
// end itself ("\n", "\r\n", or "" for a last line without one).
struct Line {
    std::string body;
    std::string eol;
};

struct Document {
    std::string bom;
    std::vector<Line> lines;
};

bool isValidUtf8(const std::string& s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned min;
        unsigned cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i <= std::size_t(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

bool hasNul(const std::string& s)
{
    return s.find('\0') != std::string::npos;
}

// Bytes of a single-byte encoding as UTF-8: through iconv, or as Latin-1
// (every byte its own code point) when iconv does not know the encoding or
// the bytes are not valid in it.
std::string eightBitToUtf8(const std::string& bytes, const std::string& encoding)
{
    if (encoding != "ISO-8859-1") {
        if (const iconv_t cd = ::iconv_open("UTF-8", encoding.c_str()); cd != iconv_t(-1)) {
            std::string out(bytes.size() * 4, '\0');
            char* in = const_cast<char*>(bytes.data());
            std::size_t inLeft = bytes.size();
            char* o = out.data();
            std::size_t outLeft = out.size();
            const std::size_t r = ::iconv(cd, &in, &inLeft, &o, &outLeft);
            ::iconv_close(cd);
            out.resize(out.size() - outLeft);
            if (r != std::size_t(-1) && inLeft == 0 && isValidUtf8(out))
                return out;
        }
    }
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Document parse(const std::string& content)
{
    Document doc;
    std::size_t pos = 0;
    if (content.compare(0, 3, kUtf8Bom) == 0) {
        doc.bom = kUtf8Bom;
        pos = 3;
    }
    while (pos < content.size()) {
        const std::size_t nl = content.find('\n', pos);
        Line line;
        if (nl == std::string::npos) {
            line.body = content.substr(pos);
            pos = content.size();
        } else {
            line.body = content.substr(pos, nl - pos);
            line.eol = "\n";
            pos = nl + 1;
        }
        if (!line.body.empty() && line.body.back() == '\r' && !line.eol.empty()) {
            line.body.pop_back();
            line.eol = "\r\n";
        }
        doc.lines.push_back(std::move(line));
    }
    return doc;
}

std::string serialise(const Document& doc)
{
    std::string out = doc.bom;
    for (const Line& l : doc.lines)
        out += l.body + l.eol;
    return out;
}

std::string trim(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    const std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The section named by a header line "[name]" (spaces around the name are
// ignored, text after ']' too), or nullopt when the line is not a header.
std::optional<std::string> sectionOf(const std::string& body)
{
    const std::string t = trim(body);
    if (t.empty() || t[0] != '[' || hasNul(t))
        return std::nullopt;
    const std::size_t close = t.find(']');
    return trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a key line, or nullopt for comments, blank and unknown lines.
std::optional<std::string> keyOf(const std::string& body)
{
    const std::string t = trim(body);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[' || hasNul(t))
        return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    std::string key = trim(t.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return key;
}

std::string valueOf(const std::string& body)
{
    std::string v = trim(body.substr(body.find('=') + 1));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return v;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Location {
    std::size_t keyLine = kNone;     // the key's line
    std::size_t sectionLine = kNone; // header of the first section of that name
    std::size_t lastKeyLine = kNone; // last key line of that first section
};

Location locate(const Document& doc, const std::string& section, const std::string& key)
{
    Location loc;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const std::string& body = doc.lines[i].body;
        if (const auto name = sectionOf(body)) {
            inSection = sameName(*name, section);
            inFirstSection = inSection && loc.sectionLine == kNone;
            if (inFirstSection)
                loc.sectionLine = i;
            continue;
        }
        if (!inSection)
            continue;
        const auto k = keyOf(body);
        if (!k)
            continue;
        if (inFirstSection)
            loc.lastKeyLine = i;
        if (loc.keyLine == kNone && sameName(*k, key))
            loc.keyLine = i;
    }
    return loc;
}

// The whole file, or nullopt when it does not exist or cannot be opened.
std::optional<std::string> slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(ss).str();
}

// Line end for lines the program adds: the file's own style, judged by its
// first line end, else "\n".
std::string eolStyle(const Document& doc)
{
    for (const Line& l : doc.lines)
        if (!l.eol.empty())
            return l.eol;
    return "\n";
}

// The text to put after '=' so that a read gives `value` back: a value with
// spaces at either end, or one that is itself quoted, would lose them to the
// read rules, so it is wrapped in one more pair of quotes.
std::string storedForm(const std::string& value)
{
    const bool padded = !value.empty() &&
                        (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t');
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return padded || quoted ? '"' + value + '"' : value;
}

bool hasLineBreak(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

SettingsWriteError::SettingsWriteError(const fs::path& path)
    : FileWriteError("Impossible d'écrire dans " + path.string())
{
}

SettingsFile::SettingsFile(fs::path path, std::string legacyEncoding)
    : path_(std::move(path)), legacyEncoding_(std::move(legacyEncoding))
{
}

std::string SettingsFile::localeEightBitEncoding()
{
    std::string codeset;
    if (const locale_t loc = ::newlocale(LC_CTYPE_MASK, "", locale_t(nullptr))) {
        codeset = ::nl_langinfo_l(CODESET, loc);
        ::freelocale(loc);
    }
    // UTF-8 is not an 8-bit encoding and ASCII leaves the upper half
    // undefined: Latin-1 is the likeliest origin of such bytes.
    if (codeset.empty() || codeset == "UTF-8" || codeset == "ANSI_X3.4-1968" || codeset == "ASCII")
        return "ISO-8859-1";
    return codeset;
}

fs::path SettingsFile::defaultPath()
{
    if (const char* ini = std::getenv("PIXORAN3_INI"); ini && *ini)
        return ini;
    // Relative values of XDG_CONFIG_HOME are to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return fs::path(xdg) / "Pixoran3.ini";
    return fs::path(homeFolder()) / ".config" / "Pixoran3.ini";
}

std::string SettingsFile::readString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const
{
    const auto content = slurp(path_);
    if (!content)
        return defaultValue;
    const Document doc = parse(*content);
    const Location loc = locate(doc, section, key);
    if (loc.keyLine == kNone)
        return defaultValue;
    const std::string value = valueOf(doc.lines[loc.keyLine].body);
    return isValidUtf8(value) ? value : eightBitToUtf8(value, legacyEncoding_);
}

void SettingsFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    const auto storable = [](const std::string& s) { return !hasLineBreak(s) && !hasNul(s) && isValidUtf8(s); };
    if (!storable(section) || section.find(']') != std::string::npos || trim(section) != section)
        throw std::invalid_argument("settings section name not storable: " + section);
    if (key.empty() || !storable(key) || key.find('=') != std::string::npos || trim(key) != key || key[0] == ';' ||
        key[0] == '#' || key[0] == '[')
        throw std::invalid_argument("settings key name not storable: " + key);
    if (!storable(value))
        throw SettingsWriteError(path_);

    Document doc;
    std::error_code ec;
    if (fs::exists(fs::status(path_, ec))) {
        // An existing file we cannot read must not be replaced by one
        // holding only the new key.
        const auto content = slurp(path_);
        if (!content)
            throw SettingsWriteError(path_);
        doc = parse(*content);
    }

    const std::string eol = eolStyle(doc);
    const Location loc = locate(doc, section, key);
    if (loc.keyLine != kNone) {
        // Keep the line's key spelling and the spacing up to the old value.
        std::string& body = doc.lines[loc.keyLine].body;
        const std::size_t eq = body.find('=');
        std::size_t start = body.find_first_not_of(" \t", eq + 1);
        if (start == std::string::npos)
            start = body.size();
        body = body.substr(0, start) + storedForm(value);
    } else {
        const Line newKey{key + "=" + storedForm(value), eol};
        std::size_t insertAt;
        if (loc.sectionLine != kNone) {
            insertAt = (loc.lastKeyLine != kNone ? loc.lastKeyLine : loc.sectionLine) + 1;
        } else {
            if (!doc.lines.empty() && !trim(doc.lines.back().body).empty()) {
                if (doc.lines.back().eol.empty())
                    doc.lines.back().eol = eol;
                doc.lines.push_back(Line{std::string(), eol});
            }
            doc.lines.push_back(Line{"[" + section + "]", eol});
            insertAt = doc.lines.size();
        }
        if (insertAt > 0 && doc.lines[insertAt - 1].eol.empty())
            doc.lines[insertAt - 1].eol = eol;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newKey);
    }

    try {
        const fs::path folder = path_.parent_path();
        if (!folder.empty() && !fs::exists(fs::status(path_, ec)))
            fs::create_directories(folder);
        const std::string text = serialise(doc);
        writeFileAtomically(path_, text.data(), text.size());
    } catch (const FileWriteError&) {
        throw SettingsWriteError(path_);
    } catch (const fs::filesystem_error&) {
        throw SettingsWriteError(path_);
    }
}

} // namespace px
