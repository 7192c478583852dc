#include "platform/ClassStoreFile.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace px {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader = "; Pixoran3: file-type classes\n";

struct Value {
    std::string name; // "" is the default value
    std::string text;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldCase(x) == foldCase(y); });
}

void checkKey(const std::string& key)
{
    bool emptyName = true;
    for (char c : key) {
        if (c == '\n' || c == '\r' || c == '\0')
            throw std::invalid_argument("class store key with a line break: " + key);
        if (c == '\\') {
            if (emptyName)
                break;
            emptyName = true;
        } else {
            emptyName = false;
        }
    }
    if (emptyName)
        throw std::invalid_argument("class store key with an empty name: " + key);
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

// Reads a quoted text starting at `pos`; the position after it, or npos for
// a malformed text.
std::size_t unquote(const std::string& line, std::size_t pos, std::string& text)
{
    if (pos >= line.size() || line[pos] != '"')
        return std::string::npos;
    text.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"')
            return pos + 1;
        if (c == '\\') {
            if (++pos == line.size())
                return std::string::npos;
            c = line[pos];
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        text += c;
    }
    return std::string::npos;
}

// The keys of the file, in file order. A missing file has none; a file that
// exists but cannot be read is an error only for a caller about to write.
std::vector<Key> load(const fs::path& path, bool forWriting)
{
    std::vector<Key> keys;
    std::ifstream in;
    if (!openForRewrite(in, path, forWriting))
        return keys;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            keys.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        if (keys.empty())
            continue;
        Value value;
        std::size_t pos = 0;
        if (line.starts_with('@'))
            pos = 1;
        else if ((pos = unquote(line, 0, value.name)) == std::string::npos || value.name.empty())
            continue;
        if (pos >= line.size() || line[pos] != '=' || unquote(line, pos + 1, value.text) != line.size())
            continue;
        keys.back().values.push_back(std::move(value));
    }
    return keys;
}

Key* findKey(std::vector<Key>& keys, const std::string& path)
{
    for (Key& key : keys)
        if (sameName(key.path, path))
            return &key;
    return nullptr;
}

Value* findValue(Key& key, const std::string& name)
{
    for (Value& value : key.values)
        if (sameName(value.name, name))
            return &value;
    return nullptr;
}

} // namespace

void ClassStoreFile::setValue(const std::string& key, const std::string& name, const std::string& value)
{
    checkKey(key);
    std::vector<Key> keys = load(path_, true);

    // Every key on the way down exists afterwards, parents first.
    Key* target = nullptr;
    for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
        const std::string path = key.substr(0, end);
        target = findKey(keys, path);
        if (!target) {
            keys.push_back({path, {}});
            target = &keys.back();
        }
        if (end == std::string::npos)
            break;
    }

    if (Value* existing = findValue(*target, name))
        existing->text = value;
    else
        target->values.push_back({name, value});

    std::ostringstream out;
    out << kHeader;
    for (const Key& k : keys) {
        out << '\n' << '[' << k.path << "]\n";
        for (const Value& v : k.values)
            out << (v.name.empty() ? std::string("@") : quoted(v.name)) << '=' << quoted(v.text) << '\n';
    }
    const std::string text = out.str();
    std::error_code ec;
    if (!path_.parent_path().empty())
        fs::create_directories(path_.parent_path(), ec);
    writeFileAtomically(path_, text.data(), text.size());
}

std::optional<std::string> ClassStoreFile::value(const std::string& key, const std::string& name) const
{
    std::vector<Key> keys = load(path_, false);
    Key* k = findKey(keys, key);
    const Value* v = k ? findValue(*k, name) : nullptr;
    return v ? std::optional<std::string>(v->text) : std::nullopt;
}

bool ClassStoreFile::keyExists(const std::string& key) const
{
    std::vector<Key> keys = load(path_, false);
    return findKey(keys, key) != nullptr;
}

} // namespace px
