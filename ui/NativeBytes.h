#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The native-mode texts of engine/NativeMessages.h as bytes, so that the window can match and
// build messages byte by byte.
using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// A whole message written as hex text ("F0 .. F7").
Bytes MessageBytes(std::string_view text);
// The beginning of a message written as hex text, without its end byte.
Bytes HeadBytes(std::string_view text);
bool StartsWith(ByteView message, ByteView head);
