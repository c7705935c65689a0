#pragma once

#include <cstdint>
#include <string>

// Orvan's settings: text values in HKEY_CURRENT_USER\Software\ZivUvozaro. Absent and empty read
// alike as the empty text; names match without regard to case. Nothing here reports a failure.
void WriteStringValue(int16_t root, const std::string& keyPath, const std::string& valueName,
                      const std::string& value);
void WriteSetting(const std::string& valueName, const std::string& value);
std::string ReadSetting(const std::string& valueName);
