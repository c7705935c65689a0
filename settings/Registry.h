#pragma once

#include <cstdint>
#include <string>

// General registry operations. root selects a predefined key: 0 HKEY_CLASSES_ROOT,
// 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS. Paths are backslash-separated and
// relative to the root. Every call opens and closes what it needs; none reports a failure.

void CreateKeyPath(int16_t root, const std::string& keyPath);
void CreateSubKey(int16_t root, const std::string& parentPath, const std::string& name);
// Writes the first length bytes of value (at most all of them) with the given type.
void SetKeyValue(int16_t root, const std::string& keyPath, const std::string& valueName,
                 int32_t valueType, const std::string& value, int32_t length);
// Text and expandable values up to their first NUL, a multi-string's first string, a DWORD in
// decimal, binary data as "0A 00 2A "; the empty text for any other type or when unreadable.
std::string QueryValue(int16_t root, const std::string& keyPath, const std::string& valueName);

// Cuts the text before the first delimiter off source and returns it; without a delimiter in
// source, returns all of source and leaves it empty.
std::string NextToken(std::string& source, const std::string& delimiter);
