#include "settings/mSettings.h"
#include "settings/RegTypes.h"
#include "settings/Registry.h"

namespace {
constexpr int16_t kCurrentUser = 1;
constexpr const char* kSettingsKey = "Software\\ZivUvozaro";
} // namespace

void WriteStringValue(int16_t root, const std::string& keyPath, const std::string& valueName,
                      const std::string& value) {
    // The narrow text is UTF-8 here, so its length in bytes is what the store takes.
    CreateKeyPath(root, keyPath);
    SetKeyValue(root, keyPath, valueName, reg::kSz, value, static_cast<int32_t>(value.size()));
}

void WriteSetting(const std::string& valueName, const std::string& value) {
    WriteStringValue(kCurrentUser, kSettingsKey, valueName, value);
}

std::string ReadSetting(const std::string& valueName) {
    return QueryValue(kCurrentUser, kSettingsKey, valueName);
}
