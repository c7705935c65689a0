#include "host/MidiBytes.h"

#include "host/MidiHost.h"
#include "protocol/HexText.h"

#include <cctype>

namespace {
bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

[[noreturn]] void refuse(const std::string& why, const std::string& text) {
    constexpr size_t kShown = 60;
    const std::string shown = text.size() > kShown ? text.substr(0, kShown) + "..." : text;
    throw HostError("HostSendSysEx: " + why + ": \"" + shown + "\"");
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

std::vector<uint8_t> SysExBytes(const std::string& text, size_t maxBytes) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size();) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        const int high = end - i == 2 ? HexDigitValue(text[i]) : -1;
        const int low = end - i == 2 ? HexDigitValue(text[i + 1]) : -1;
        if (high < 0 || low < 0) {
            std::string why = "\"";
            why.append(text, i, std::min<size_t>(end - i, 8));
            refuse(why + "\" is not a hex byte", text);
        }
        if (bytes.size() == maxBytes)
            refuse("longer than " + std::to_string(maxBytes) + " bytes", text);
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        i = end;
    }
    if (bytes.size() < 2 || bytes.front() != 0xF0 || bytes.back() != 0xF7)
        refuse("a SysEx message begins with F0 and ends with F7", text);
    for (size_t i = 1; i + 1 < bytes.size(); ++i) {
        if (bytes[i] > 0x7F)
            refuse("byte " + HexByte(bytes[i]) + " inside the message is not a data byte", text);
    }
    return bytes;
}

std::string SysExText(const uint8_t* bytes, size_t size) {
    std::string text;
    text.reserve(size * 3);
    for (size_t i = 0; i < size; ++i) {
        if (i > 0)
            text += ' ';
        text += HexByte(bytes[i]);
    }
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
