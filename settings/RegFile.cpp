#include "settings/RegFile.h"
#include "settings/RegTypes.h"
#include "settings/Utf16Text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {
constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::array<std::string_view, 4> kRoots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                    "HKEY_LOCAL_MACHINE", "HKEY_USERS"};
using namespace reg;

// Names are compared by their form with ASCII letters in lower case.
std::string lowered(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool textType(uint32_t type) {
    return type == kSz || type == kExpandSz || type == kMultiSz;
}

// A key path is a known root followed by non-empty names.
bool validKeyPath(std::string_view path) {
    const std::string root = lowered(path.substr(0, path.find('\\')));
    if (std::none_of(kRoots.begin(), kRoots.end(),
                     [&](std::string_view r) { return lowered(r) == root; }))
        return false;
    if (path.empty() || path.back() == '\\' || path.find("\\\\") != std::string_view::npos)
        return false;
    return path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Reads a quoted text at the start of s ("\\" and "\"" are the only escapes) and drops it from s.
std::optional<std::string> takeQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (s[i] == '\\') {
            if (i + 1 == s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return std::nullopt;
            ++i;
        }
        out += s[i];
    }
    return std::nullopt;
}

std::optional<uint32_t> hexNumber(std::string_view s, size_t maxDigits) {
    uint32_t value = 0;
    if (s.empty() || s.size() > maxDigits)
        return std::nullopt;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
    if (error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

// "0a,00,2a" (blanks allowed around each byte) to bytes.
std::optional<std::string> hexBytes(std::string_view list) {
    std::string out;
    list = trim(list);
    if (list.empty())
        return out;
    while (true) {
        const size_t comma = list.find(',');
        const auto byte = hexNumber(trim(list.substr(0, comma)), 2);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        if (comma == std::string_view::npos)
            return out;
        list.remove_prefix(comma + 1);
    }
}

std::optional<RegValue> valueData(std::string_view data) {
    RegValue value;
    if (data.starts_with('"')) {
        auto text = takeQuoted(data);
        if (!text || !trim(data).empty())
            return std::nullopt;
        value.data = std::move(*text);
        return value;
    }
    if (data.starts_with("dword:")) {
        const auto number = hexNumber(trim(data.substr(6)), 8);
        if (!number)
            return std::nullopt;
        value.type = kDword;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += static_cast<char>((*number >> shift) & 0xFF);
        return value;
    }
    if (data.starts_with("hex:")) {
        value.type = kBinary;
        data.remove_prefix(4);
    } else if (data.starts_with("hex(")) {
        const size_t close = data.find("):");
        const auto type = close == std::string_view::npos ? std::nullopt
                                                          : hexNumber(data.substr(4, close - 4), 8);
        if (!type)
            return std::nullopt;
        value.type = *type;
        data.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = hexBytes(data);
    if (!bytes)
        return std::nullopt;
    if (!textType(value.type)) {
        value.data = std::move(*bytes);
        return value;
    }
    value.data = NarrowFromUtf16Le(*bytes);
    if (Utf16LeFromNarrow(value.data) != *bytes)
        value.utf16 = std::move(*bytes);
    return value;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string hexList(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            out += ',';
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

std::string dataText(const RegValue& value) {
    const bool lineSafe =
        value.data.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
    if (value.type == kSz && lineSafe && value.utf16.empty())
        return quoted(value.data);
    if (value.type == kDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        char text[9];
        const auto end = std::to_chars(text, text + 8, number, 16).ptr;
        return "dword:" + std::string(8 - (end - text), '0') + std::string(text, end);
    }
    if (value.type == kBinary)
        return "hex:" + hexList(value.data);
    char type[9];
    const auto end = std::to_chars(type, type + 8, value.type, 16).ptr;
    return "hex(" + std::string(type, end) + "):" + hexList(RegStoredBytes(value));
}

// The line that starts at pos, without its line end; pos moves to the next one.
std::string_view nextLine(std::string_view text, size_t& pos) {
    const size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}
} // namespace

const RegValue* RegKey::findValue(std::string_view name) const {
    const auto found = index_.find(lowered(name));
    return found == index_.end() ? nullptr : &values_[found->second];
}

bool RegKey::setValue(RegValue value) {
    const auto [place, added] = index_.try_emplace(lowered(value.name), values_.size());
    if (added) {
        values_.push_back(std::move(value));
        return true;
    }
    RegValue& stored = values_[place->second];
    value.name = stored.name;
    if (stored == value)
        return false;
    stored = std::move(value);
    return true;
}

RegKey* RegDocument::findKey(std::string_view path) {
    const auto found = index_.find(lowered(path));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

const RegKey* RegDocument::findKey(std::string_view path) const {
    return const_cast<RegDocument*>(this)->findKey(path);
}

RegKey& RegDocument::ensureKey(std::string_view path) {
    const std::string lower = lowered(path);
    // Every prefix that ends before a backslash, the root alone excepted, is an ancestor.
    for (size_t end = path.find('\\');;) {
        end = end == std::string_view::npos ? end : path.find('\\', end + 1);
        const size_t length = std::min(end, path.size());
        const auto [place, added] = index_.try_emplace(lower.substr(0, length), keys_.size());
        if (added)
            keys_.emplace_back(std::string(path.substr(0, length)));
        if (end == std::string_view::npos)
            return keys_[place->second];
    }
}

size_t RegKeyDepth(std::string_view path) {
    return static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
}

std::optional<RegDocument> ParseRegText(std::string_view text, std::string* problem) {
    std::string decoded;
    if (text.starts_with("\xFF\xFE")) {
        decoded = NarrowFromUtf16Le(text.substr(2));
        text = decoded;
    } else if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }

    size_t lineNumber = 0;
    const auto refuse = [&](std::string_view why) -> std::optional<RegDocument> {
        if (problem)
            *problem = "line " + std::to_string(lineNumber) + ": " + std::string(why);
        return std::nullopt;
    };
    constexpr std::string_view kNotExport = "not in the registry export format";

    RegDocument document;
    bool header = false;
    RegKey* current = nullptr;
    for (size_t pos = 0; pos <= text.size();) {
        ++lineNumber;
        std::string_view line = trim(nextLine(text, pos));
        if (line.empty())
            continue;
        if (!header) {
            if (line != kHeader)
                return refuse(kNotExport);
            header = true;
            continue;
        }
        if (line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::string_view path = line.substr(1, line.size() - 2);
            if (line.back() != ']' || !validKeyPath(path))
                return refuse(kNotExport);
            if (RegKeyDepth(path) > kMaxRegKeyDepth)
                return refuse("keys nested deeper than " + std::to_string(kMaxRegKeyDepth) +
                              " levels");
            current = &document.ensureKey(path);
            continue;
        }
        if (!current)
            return refuse(kNotExport);

        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            auto quotedName = takeQuoted(line);
            if (!quotedName)
                return refuse(kNotExport);
            name = std::move(*quotedName);
        }
        line = trim(line);
        if (!line.starts_with('='))
            return refuse(kNotExport);
        std::string data(trim(line.substr(1)));
        // Long hex lists go on over lines ending in a backslash.
        while (!data.starts_with('"') && data.ends_with('\\')) {
            if (pos > text.size())
                return refuse(kNotExport);
            ++lineNumber;
            data.pop_back();
            data += trim(nextLine(text, pos));
        }
        auto value = valueData(data);
        if (!value)
            return refuse(kNotExport);
        value->name = std::move(name);
        current->setValue(std::move(*value));
    }
    return document;
}

std::string RegText(const RegDocument& document) {
    std::string out = std::string(kHeader) + "\r\n";
    for (const RegKey& key : document.keys()) {
        out += "\r\n[" + key.path() + "]\r\n";
        for (const RegValue& value : key.values())
            out += (value.name.empty() ? std::string("@") : quoted(value.name)) + '=' +
                   dataText(value) + "\r\n";
    }
    return out + "\r\n";
}

std::string RegStoredBytes(const RegValue& value) {
    if (!value.utf16.empty())
        return value.utf16;
    return textType(value.type) ? Utf16LeFromNarrow(value.data) : value.data;
}
