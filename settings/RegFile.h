#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The registry as its export text shows it: keys by full path (root name first), each with its
// values, in the order of their creation. Names match without regard to case and keep the case
// they were created with.

// Keys nested deeper than this below their root are refused, in a file and in a call alike.
inline constexpr size_t kMaxRegKeyDepth = 64;

struct RegValue {
    std::string name; // empty: the key's default value, "@" in the text
    uint32_t type = 1;
    std::string data; // the bytes as the narrow registry calls see them
    // Text data as the file held it (UTF-16LE), kept only when data would not give these very
    // bytes back (odd lengths, lone surrogates), so that values Orvan does not own stay as they
    // are.
    std::string utf16{};

    bool operator==(const RegValue&) const = default;
};

class RegKey {
public:
    explicit RegKey(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    const std::vector<RegValue>& values() const { return values_; }
    const RegValue* findValue(std::string_view name) const;
    // Stores value; one of the same name keeps its name and place. False when it held exactly
    // this already.
    bool setValue(RegValue value);

    bool operator==(const RegKey& other) const {
        return path_ == other.path_ && values_ == other.values_;
    }

private:
    std::string path_;
    std::vector<RegValue> values_;
    std::unordered_map<std::string, size_t> index_; // lower-case name to place in values_
};

class RegDocument {
public:
    const std::vector<RegKey>& keys() const { return keys_; }
    RegKey* findKey(std::string_view path);
    const RegKey* findKey(std::string_view path) const;
    // The key, created with every missing key above it (the root itself excepted) when absent.
    RegKey& ensureKey(std::string_view path);

    bool operator==(const RegDocument& other) const { return keys_ == other.keys_; }

private:
    std::vector<RegKey> keys_;
    std::unordered_map<std::string, size_t> index_; // lower-case path to place in keys_
};

// How many names a key path has below its root.
size_t RegKeyDepth(std::string_view path);

// The text after "Windows Registry Editor Version 5.00"; nothing when the text is not in that
// form, and then problem (when given) says where and why. An empty text is an empty registry.
std::optional<RegDocument> ParseRegText(std::string_view text, std::string* problem = nullptr);
std::string RegText(const RegDocument& document);

// A value's bytes as the file holds them: text types as UTF-16LE, others as they are.
std::string RegStoredBytes(const RegValue& value);
