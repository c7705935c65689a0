#pragma once

#include <cstdint>
#include <string>

// Controller messages travel as text: two hex digits a byte, single blanks between bytes.

// Each character as one blank and two upper-case hex digits of its code: "TGL" -> " 54 47 4C".
std::string StringToHex(const std::string& StrToHex);

// The value of the hex digits in HexNum. A digit's weight depends only on its distance from the
// end, so leading non-digits ("&H") change nothing. Throws std::overflow_error beyond 32 bits.
int32_t HextoDec(const std::string& HexNum);

// The value of one hex digit in either case, -1 for any other character.
int HexDigitValue(char c);

// One byte as two upper-case hex digits.
std::string HexByte(int value);
