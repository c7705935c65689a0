#include "settings/FileRegistryBackend.h"
#include "settings/RegistryFile.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {
constexpr std::array<const char*, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                   "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// Names the file cannot hold on one line, and paths with empty parts, are refused.
bool validName(std::string_view name) {
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool validSubPath(std::string_view path) {
    return !path.empty() && validName(path) && path.front() != '\\' && path.back() != '\\' &&
           path.find("\\\\") == std::string_view::npos;
}
} // namespace

RegistryBackend& ActiveRegistryBackend() {
    static FileRegistryBackend backend;
    return backend;
}

const FileRegistryBackend::OpenKeyEntry* FileRegistryBackend::resolve(RegHandle key,
                                                                      uint32_t access) {
    if (key - reg::kClassesRoot < kRootNames.size()) {
        root_ = {kRootNames[key - reg::kClassesRoot], reg::kAllAccess};
        return &root_;
    }
    const auto found = open_.find(key);
    if (found == open_.end() || (found->second.access & access) != access)
        return nullptr;
    return &found->second;
}

RegHandle FileRegistryBackend::add(std::string path, uint32_t access) {
    while (next_ == 0 || open_.contains(next_) || next_ - reg::kClassesRoot < kRootNames.size())
        ++next_;
    open_[next_] = {std::move(path), access};
    return next_++;
}

bool FileRegistryBackend::OpenKey(RegHandle root, const std::string& path, uint32_t access,
                                  RegHandle& key) {
    const OpenKeyEntry* base = resolve(root, 0);
    if (!base)
        return false;
    std::string full = base->path;
    if (!path.empty()) {
        full += "\\" + path;
        if (!validSubPath(path) || !ReadRegistryFile().findKey(full))
            return false;
    }
    key = add(std::move(full), access);
    return true;
}

bool FileRegistryBackend::CreateKey(RegHandle parent, const std::string& name, uint32_t access,
                                    RegHandle& key) {
    const OpenKeyEntry* base = resolve(parent, reg::kCreateSubKey);
    if (!base || !validSubPath(name))
        return false;
    std::string wanted = base->path + "\\" + name;
    if (RegKeyDepth(wanted) > kMaxRegKeyDepth)
        return false;
    const bool stored = UpdateRegistryFile([wanted](RegDocument& document) {
        const size_t before = document.keys().size();
        document.ensureKey(wanted);
        return document.keys().size() != before;
    });
    if (!stored)
        return false;
    key = add(std::move(wanted), access);
    return true;
}

bool FileRegistryBackend::QueryValue(RegHandle key, const std::string& name, uint32_t& type,
                                     uint32_t& size, char* buffer) {
    const OpenKeyEntry* entry = resolve(key, reg::kQueryValue);
    if (!entry)
        return false;
    const RegKey* found = ReadRegistryFile().findKey(entry->path);
    const RegValue* value = found ? found->findValue(name) : nullptr;
    if (!value)
        return false;
    type = value->type;
    if (buffer) {
        if (value->data.size() > size)
            return false;
        std::memcpy(buffer, value->data.data(), value->data.size());
    }
    size = static_cast<uint32_t>(value->data.size());
    return true;
}

bool FileRegistryBackend::SetValue(RegHandle key, const std::string& name, uint32_t type,
                                   const char* data, uint32_t size) {
    const OpenKeyEntry* entry = resolve(key, reg::kSetValue);
    if (!entry || !validName(name))
        return false;
    // Unchanged, the file stays as it is.
    return UpdateRegistryFile(
        [path = entry->path, value = RegValue{name, type, std::string(data, size)}](
            RegDocument& document) { return document.ensureKey(path).setValue(value); });
}

void FileRegistryBackend::CloseKey(RegHandle key) {
    open_.erase(key);
}
