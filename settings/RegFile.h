#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The registry as its export text shows it: keys by full path (root name first), each with its
// values, in the order of their creation. Names match without regard to case and keep the case
// they were created with.
struct RegValue {
    std::string name; // empty: the key's default value, "@" in the text
    uint32_t type = 1;
    std::string data; // the bytes as the narrow registry calls see them

    bool operator==(const RegValue&) const = default;
};

struct RegKey {
    std::string path;
    std::vector<RegValue> values;

    RegValue* findValue(std::string_view name);
    const RegValue* findValue(std::string_view name) const;
    bool operator==(const RegKey&) const = default;
};

struct RegDocument {
    std::vector<RegKey> keys;

    RegKey* findKey(std::string_view path);
    const RegKey* findKey(std::string_view path) const;
    // The key, created with every missing key above it (the root itself excepted) when absent.
    RegKey& ensureKey(std::string_view path);
    bool operator==(const RegDocument&) const = default;
};

bool SameRegName(std::string_view a, std::string_view b);

// The text after "Windows Registry Editor Version 5.00"; nothing when the text is not in that
// form. An empty text is an empty registry.
std::optional<RegDocument> ParseRegText(std::string_view text);
std::string RegText(const RegDocument& document);
