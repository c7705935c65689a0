#include "engine/HexText.h"

#include <stdexcept>

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

HexPair HexByte(int value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const char pair[2] = {digits[(value >> 4) & 0xF], digits[value & 0xF]};
    return HexPair(std::string_view(pair, 2));
}

bool IsHexPair(std::string_view text) {
    return text.size() == 2 && HexDigitValue(text[0]) >= 0 && HexDigitValue(text[1]) >= 0;
}

FixedText<48> StringToHex(std::string_view StrToHex) {
    FixedText<48> out;
    for (unsigned char c : StrToHex) {
        out += ' ';
        out += HexByte(c);
    }
    return out;
}

int32_t HextoDec(std::string_view HexNum) {
    if (HexNum.size() > 32767)
        throw std::overflow_error("Overflow");
    int64_t result = 0;
    const size_t n = HexNum.size();
    for (size_t a = 0; a < n; ++a) {
        const int digit = HexDigitValue(HexNum[a]);
        if (digit <= 0)
            continue; // a zero or a character that is no digit adds nothing
        const size_t power = n - 1 - a;
        if (power >= 8)
            throw std::overflow_error("Overflow");
        result += static_cast<int64_t>(digit) << (4 * power);
        if (result > INT32_MAX)
            throw std::overflow_error("Overflow");
    }
    return static_cast<int32_t>(result);
}
