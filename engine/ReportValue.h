#pragma once

#include <string_view>

// The value byte of a knob or jog-wheel report payload (its third byte, characters 7 and 8
// counted from 1); the empty text when the payload is too short to hold one.
inline std::string_view ReportValueText(std::string_view payload) {
    return payload.size() < 8 ? std::string_view() : payload.substr(6, 2);
}
