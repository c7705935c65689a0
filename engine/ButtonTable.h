#pragma once

#include "engine/NativeMessages.h"

#include <array>
#include <cstdint>
#include <string_view>

// Lookups in the button table, whose order is that of bButtonLed and strButtonLedId.

// Table index of the button with this LED id, or -1 for none.
inline int ButtonIndexOfLedId(std::string_view ledId) {
    for (size_t i = 0; i < native::kButtonLedIds.size(); ++i)
        if (native::kButtonLedIds[i] == ledId)
            return static_cast<int>(i);
    return -1;
}

// Table index of the button reporting this switch number, or -1 for none.
inline int ButtonIndexOfSwitch(std::string_view switchNumber) {
    for (size_t i = 0; i < native::kButtonSwitchNumbers.size(); ++i)
        if (native::kButtonSwitchNumbers[i] == switchNumber)
            return static_cast<int>(i);
    return -1;
}

// LED ids of the buttons of banks 0, 1 and 2.
inline constexpr std::array<std::string_view, 3> kBankButtonLedIds = {"20", "21", "22"};

// The bank a bank button selects, or -1 for every other button.
inline int BankOfButton(std::string_view ledId) {
    for (size_t bank = 0; bank < kBankButtonLedIds.size(); ++bank)
        if (kBankButtonLedIds[bank] == ledId)
            return static_cast<int>(bank);
    return -1;
}

// The jog-wheel modifiers in order of precedence, with the note a left step sends while the
// button is held; a right step sends the next note.
struct JogModifier {
    std::string_view ledId;
    int16_t leftNote;
};
inline constexpr std::array<JogModifier, 3> kJogModifiers = {{{"1B", 42}, {"1C", 44}, {"1F", 46}}};

// The note buttons in order; the first sends note 65, each next one the next note.
inline constexpr std::array<std::string_view, 6> kNoteButtonLedIds = {"13", "14", "15",
                                                                      "16", "17", "18"};
inline constexpr int16_t kFirstButtonNote = 65;

// The assign buttons of knobs 1 and 2.
inline constexpr std::array<std::string_view, 2> kKnobAssignLedIds = {"1D", "1E"};
