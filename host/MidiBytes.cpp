#include "host/MidiBytes.h"

#include "engine/HexText.h"

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
} // namespace

int DataBytesAfter(uint8_t status) {
    if (status < 0x80)
        return -1;
    if (status < 0xC0 || (status >= 0xE0 && status < 0xF0))
        return 2;
    if (status < 0xE0)
        return 1;
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    case 0xF0:
    case 0xF4:
    case 0xF5:
    case 0xF7:
    case 0xF9:
    case 0xFD:
        return -1;
    default:
        return 0; // F6 and the realtime bytes
    }
}

size_t SysExBytes(std::string_view text, uint8_t* out, size_t capacity) {
    size_t size = 0;
    for (size_t i = 0; i < text.size();) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        if (end - i != 2 || size == capacity)
            return 0;
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return 0;
        out[size++] = static_cast<uint8_t>(high * 16 + low);
        i = end;
    }
    if (size < 2 || out[0] != 0xF0 || out[size - 1] != 0xF7)
        return 0;
    for (size_t i = 1; i + 1 < size; ++i)
        if (out[i] > 0x7F)
            return 0;
    return size;
}

std::string_view WriteSysExText(const uint8_t* bytes, size_t size, char* out) {
    size_t length = 0;
    for (size_t i = 0; i < size; ++i) {
        if (i > 0)
            out[length++] = ' ';
        const HexPair pair = HexByte(bytes[i]);
        out[length++] = pair[0];
        out[length++] = pair[1];
    }
    return {out, length};
}

std::string SysExText(const uint8_t* bytes, size_t size) {
    std::string text(size * 3, ' ');
    text.resize(WriteSysExText(bytes, size, text.data()).size());
    return text;
}

size_t ShortMessageBytes(int32_t status, int32_t data1, int32_t data2, uint8_t (&out)[3]) {
    if (status < 0x80 || status > 0xFF)
        return 0;
    const int data = DataBytesAfter(static_cast<uint8_t>(status));
    if (data < 0 || (data >= 1 && (data1 < 0 || data1 > 0x7F)) ||
        (data >= 2 && (data2 < 0 || data2 > 0x7F)))
        return 0;
    out[0] = static_cast<uint8_t>(status);
    out[1] = static_cast<uint8_t>(data1);
    out[2] = static_cast<uint8_t>(data2);
    return static_cast<size_t>(1 + data);
}
