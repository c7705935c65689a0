#pragma once

#include "engine/FixedText.h"

#include <cstdint>
#include <string_view>

// Controller messages travel as text: two hex digits a byte, single blanks between bytes.

using HexPair = FixedText<2>;

// Each character as one blank and two upper-case hex digits of its code: "TGL" -> " 54 47 4C".
// Texts of up to 16 characters.
FixedText<48> StringToHex(std::string_view StrToHex);

// The value of the hex digits in HexNum. A digit's weight depends only on its distance from the
// end, so leading non-digits ("&H") change nothing. Throws std::overflow_error beyond 32 bits.
int32_t HextoDec(std::string_view HexNum);

// The value of one hex digit in either case, -1 for any other character.
int HexDigitValue(char c);

// One byte as two upper-case hex digits.
HexPair HexByte(int value);

// Two hex digits, as every value byte from the controller is.
bool IsHexPair(std::string_view text);
