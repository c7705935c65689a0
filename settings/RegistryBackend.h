#pragma once

#include "settings/RegTypes.h"

#include <cstdint>
#include <string>

// A key handle. The predefined roots are 0x80000000 (HKEY_CLASSES_ROOT) to 0x80000003
// (HKEY_USERS); other handles come from OpenKey and CreateKey and go back through CloseKey.
using RegHandle = uint32_t;

namespace reg {
constexpr RegHandle kClassesRoot = 0x80000000u;
} // namespace reg

// The five registry calls the store is built on. Each answers true on success.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // An existing key below root; an empty path opens root itself.
    virtual bool OpenKey(RegHandle root, const std::string& path, uint32_t access,
                         RegHandle& key) = 0;
    // Creates the key name below parent, or opens it when it exists.
    virtual bool CreateKey(RegHandle parent, const std::string& name, uint32_t access,
                           RegHandle& key) = 0;
    // Without a buffer: the value's type and byte size. With one: size is its capacity on the way
    // in and the number of bytes read on the way out; a buffer too small fails.
    virtual bool QueryValue(RegHandle key, const std::string& name, uint32_t& type, uint32_t& size,
                            char* buffer) = 0;
    virtual bool SetValue(RegHandle key, const std::string& name, uint32_t type, const char* data,
                          uint32_t size) = 0;
    virtual void CloseKey(RegHandle key) = 0;
};

// The backend of this platform.
RegistryBackend& ActiveRegistryBackend();
