#include "settings/Utf16Text.h"

#include <cstdint>

namespace {
void putUnit(std::string& out, uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

void putUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of the well-formed UTF-8 sequence at text[i], and its length; 0 when ill-formed.
size_t decodeUtf8(std::string_view text, size_t i, uint32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    uint32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}
} // namespace

std::string Utf16LeFromNarrow(std::string_view narrow) {
    std::string out;
    for (size_t i = 0; i < narrow.size();) {
        uint32_t cp = 0;
        const size_t length = decodeUtf8(narrow, i, cp);
        if (length == 0) {
            putUnit(out, 0xDC00 + static_cast<unsigned char>(narrow[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            putUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            putUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            putUnit(out, cp);
        }
        i += length;
    }
    return out;
}

std::string NarrowFromUtf16Le(std::string_view utf16le) {
    // An odd last byte is taken as a unit whose high byte is zero.
    const auto unitAt = [&](size_t k) -> uint32_t {
        const uint32_t low = static_cast<unsigned char>(utf16le[2 * k]);
        const uint32_t high =
            2 * k + 1 < utf16le.size() ? static_cast<unsigned char>(utf16le[2 * k + 1]) : 0;
        return low | (high << 8);
    };
    const size_t units = (utf16le.size() + 1) / 2;
    std::string out;
    for (size_t k = 0; k < units; ++k) {
        const uint32_t unit = unitAt(k);
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units) {
            const uint32_t next = unitAt(k + 1);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                putUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++k;
                continue;
            }
        }
        if (unit >= 0xDC80 && unit <= 0xDCFF)
            out += static_cast<char>(unit - 0xDC00);
        else
            putUtf8(out, unit); // other lone surrogates keep their three-byte form
    }
    return out;
}
