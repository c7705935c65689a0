#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The native-mode message set. Texts are sent exactly as written here, letter case included.
namespace native {

inline constexpr std::string_view kHeader = "F0 42 40 6E 08";

// Report kinds: the byte after the header of a report from the controller.
inline constexpr std::string_view kPadReport = "45";
inline constexpr std::string_view kButtonReport = "48";
inline constexpr std::string_view kKnobReport = "49";
inline constexpr std::string_view kJogWheelReport = "43";
inline constexpr std::string_view kPedalReport = "47";
// A pad report names pad n as 40 + n on a hit and as n on a release; so do the pad LED ids.
inline constexpr int kPadHitForm = 0x40;
// The XY pad arrives as short messages with these first data bytes (any status).
inline constexpr int kXYPadX = 126;
inline constexpr int kXYPadY = 127;

inline constexpr std::string_view kSwitchOn = "f0 42 40 6e 08 00 00 01 F7";
inline constexpr std::string_view kEntryLedPacket =
    "f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7";
inline constexpr std::string_view kSetupPacket =
    "f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a "
    "0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 f7";

// The LED packet: head, five LED bytes, 00, three display bytes, F7.
inline constexpr std::string_view kLedPacketHead = "F0 42 40 6E 08 3F 0A 01 ";
inline constexpr std::string_view kInitialLedPacket =
    "F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 00 00 00 00 F7";
// Characters before this offset belong to the LEDs, from it on to the display.
inline constexpr size_t kDisplayPartOffset = 41;

inline constexpr std::string_view kSingleLedHead = "f0 42 40 6e 08 01 ";
inline constexpr std::string_view kSingleLedOn = " 20 f7";
inline constexpr std::string_view kSingleLedOff = " 00 f7";

inline constexpr std::string_view kDisplayTextHead = "f0 42 40 6e 08 22 04 00 ";

// The 19 buttons in table order: LED id = switch number + 0x10.
inline constexpr std::array<std::string_view, 19> kButtonLedIds = {
    "10", "11", "19", "1A", "22", "21", "20", "12", "1B", "1C",
    "1F", "13", "14", "15", "16", "17", "18", "1D", "1E"};
inline constexpr std::array<std::string_view, 19> kButtonSwitchNumbers = {
    "00", "01", "09", "0A", "12", "11", "10", "02", "0B", "0C",
    "0F", "03", "04", "05", "06", "07", "08", "0D", "0E"};

} // namespace native
