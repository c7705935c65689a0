#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// MIDI bytes as the host sends and delivers them. Nothing here allocates but SysExText.

// How many data bytes follow this status byte in a whole message; -1 for a byte that does not
// start a message of its own (F0 and F7 frame SysEx; F4, F5, F9, FD are undefined).
int DataBytesAfter(uint8_t status);

// The bytes of one SysEx message written as hex text: byte pairs separated by runs of blanks,
// either case, F0 first, F7 last, 00..7F in between, at most capacity bytes. Their number, or 0
// when the text is not such a message.
size_t SysExBytes(std::string_view text, uint8_t* out, size_t capacity);

// Bytes as upper-case hex pairs separated by single blanks ("F0 42 F7"), written to out, which
// holds at least 3 * size characters.
std::string_view WriteSysExText(const uint8_t* bytes, size_t size, char* out);
std::string SysExText(const uint8_t* bytes, size_t size);

// The bytes of one short message, written to out; 0 when it would not be valid MIDI (a status
// outside 0x80..0xFF or one that starts no short message, a data byte outside 0..127).
size_t ShortMessageBytes(int32_t status, int32_t data1, int32_t data2, uint8_t (&out)[3]);
