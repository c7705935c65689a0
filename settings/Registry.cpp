#include "settings/Registry.h"
#include "settings/RegistryBackend.h"

#include <algorithm>
#include <utility>

namespace {
RegHandle rootKey(int16_t root) {
    return reg::kClassesRoot + static_cast<uint32_t>(static_cast<int32_t>(root));
}

RegistryBackend& backend() {
    return ActiveRegistryBackend();
}

std::string binaryText(const std::string& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
        out += ' ';
    }
    return out;
}

// The value read into a buffer of size + 1 NULs, of which the first size bytes are kept.
bool readBytes(RegHandle key, const std::string& name, uint32_t size, std::string& bytes) {
    std::string buffer(static_cast<size_t>(size) + 1, '\0');
    uint32_t type = 0;
    uint32_t capacity = size;
    if (!backend().QueryValue(key, name, type, capacity, buffer.data()))
        return false;
    bytes = buffer.substr(0, size);
    return true;
}

std::string renderValue(RegHandle key, const std::string& name, uint32_t type, uint32_t size) {
    std::string bytes;
    switch (type) {
    case reg::kSz:
    case reg::kExpandSz:
    case reg::kMultiSz:
        if (!readBytes(key, name, size, bytes))
            return {};
        return NextToken(bytes, std::string(1, '\0'));
    case reg::kDword: {
        char buffer[4] = {};
        uint32_t capacity = sizeof buffer;
        if (!backend().QueryValue(key, name, type, capacity, buffer))
            return {};
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(buffer[i]);
        return std::to_string(static_cast<int32_t>(number));
    }
    case reg::kBinary:
        return readBytes(key, name, size, bytes) ? binaryText(bytes) : std::string();
    default:
        return {};
    }
}
} // namespace

void CreateKeyPath(int16_t root, const std::string& keyPath) {
    std::string rest = keyPath;
    std::string built;
    while (rest.find('\\') != std::string::npos) {
        const std::string part = NextToken(rest, "\\");
        CreateSubKey(root, built, part);
        if (!built.empty())
            built += '\\';
        built += part;
    }
    CreateSubKey(root, built, rest);
}

void CreateSubKey(int16_t root, const std::string& parentPath, const std::string& name) {
    RegHandle parent = 0;
    if (!backend().OpenKey(rootKey(root), parentPath, reg::kCreateSubKey, parent))
        return;
    RegHandle created = 0;
    if (backend().CreateKey(parent, name, reg::kAllAccess, created))
        backend().CloseKey(created);
    backend().CloseKey(parent);
}

void SetKeyValue(int16_t root, const std::string& keyPath, const std::string& valueName,
                 int32_t valueType, const std::string& value, int32_t length) {
    RegHandle key = 0;
    if (!backend().OpenKey(rootKey(root), keyPath, reg::kSetValue, key))
        return;
    const auto size =
        static_cast<uint32_t>(std::clamp<int64_t>(length, 0, static_cast<int64_t>(value.size())));
    backend().SetValue(key, valueName, static_cast<uint32_t>(valueType), value.data(), size);
    backend().CloseKey(key);
}

std::string QueryValue(int16_t root, const std::string& keyPath, const std::string& valueName) {
    RegHandle key = 0;
    if (!backend().OpenKey(rootKey(root), keyPath, reg::kAllAccess, key))
        return {};
    uint32_t type = 0;
    uint32_t size = 0;
    std::string result;
    if (backend().QueryValue(key, valueName, type, size, nullptr))
        result = renderValue(key, valueName, type, size);
    backend().CloseKey(key);
    return result;
}

std::string NextToken(std::string& source, const std::string& delimiter) {
    const size_t at = source.find(delimiter);
    if (at == std::string::npos)
        return std::exchange(source, std::string());
    std::string token = source.substr(0, at);
    source.erase(0, at + delimiter.size());
    return token;
}
