#pragma once

#include <cctype>
#include <string>

// The value byte of a knob or jog-wheel report payload (its third byte, characters 7 and 8
// counted from 1); the empty text when the payload is too short to hold one.
inline std::string ReportValueText(const std::string& payload) {
    return payload.size() < 8 ? std::string() : payload.substr(6, 2);
}

// Two hex digits, as every value byte from the controller is.
inline bool IsHexPair(const std::string& text) {
    return text.size() == 2 && std::isxdigit(static_cast<unsigned char>(text[0])) &&
           std::isxdigit(static_cast<unsigned char>(text[1]));
}
