#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// "f0 42 F7" -> {0xF0, 0x42, 0xF7}; the tests' own reading, independent of Orvan's.
Bytes HexBytes(const std::string& text);
