#pragma once

#include "settings/RegistryBackend.h"

#include <map>

// The registry calls over the registry file (RegistryFile.h): a call sees the file as it is now,
// and a change outside a batch is saved at once, so any number of processes share one registry.
class FileRegistryBackend : public RegistryBackend {
public:
    bool OpenKey(RegHandle root, const std::string& path, uint32_t access, RegHandle& key) override;
    bool CreateKey(RegHandle parent, const std::string& name, uint32_t access,
                   RegHandle& key) override;
    bool QueryValue(RegHandle key, const std::string& name, uint32_t& type, uint32_t& size,
                    char* buffer) override;
    bool SetValue(RegHandle key, const std::string& name, uint32_t type, const char* data,
                  uint32_t size) override;
    void CloseKey(RegHandle key) override;

private:
    struct OpenKeyEntry {
        std::string path;
        uint32_t access;
    };

    // The full path of a handle, if it is open with the access asked for.
    const OpenKeyEntry* resolve(RegHandle key, uint32_t access);
    RegHandle add(std::string path, uint32_t access);

    std::map<RegHandle, OpenKeyEntry> open_;
    RegHandle next_ = 1;
    OpenKeyEntry root_;
};
