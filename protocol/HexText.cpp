#include "protocol/HexText.h"

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

std::string HexByte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 0xF], digits[value & 0xF]};
}

std::string StringToHex(const std::string& StrToHex) {
    std::string out;
    out.reserve(StrToHex.size() * 3);
    for (unsigned char c : StrToHex) {
        out += ' ';
        out += HexByte(c);
    }
    return out;
}

int32_t HextoDec(const std::string& HexNum) {
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
