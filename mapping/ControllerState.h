#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The whole run-time state of the controller mapping, held by the main window. Integer members
// are 16-bit and Long members 32-bit, as the stored settings and the wire values expect.
struct ControllerState {
    static constexpr int kPads = 16;
    static constexpr int kBanks = 3;
    static constexpr int kButtons = 19;

    template <typename T> using PadTable = std::array<std::array<T, kBanks>, kPads>;

    // Settings: edited by the configuration dialog, restored from the store.
    int16_t intMidiChannel = 0;
    std::string strJogWheelMode;
    int16_t intJogWheelLeft = 0;
    int16_t intJogWheelRight = 0;
    std::string strKnobMode;
    bool bAssignToggled = false;
    std::string strCN1MidiCC;
    std::string strCN2MidiCC;
    std::string strCN3MidiCC;
    std::string strFDBMidiCC;
    std::string strToggleMidiCC;
    std::string strFlashMidiCC;
    std::string strBankSelectMidiCC;
    std::string strTRKMidiCC;
    bool bFixedVelocity = false;
    bool bFdbPadsAlwaysActive = false;
    bool bXYPadTap = false;
    bool bKnob1State = false;
    bool bKnob2State = false;

    // Run-time members, written only by the main window's own operations.
    bool bInitialising = false;
    std::string strDisplayText;
    std::array<int32_t, 2> intKnobValue{};
    PadTable<bool> bPadState{};                     // [pad][bank]
    PadTable<std::optional<bool>> vPadStateSaved{}; // empty until a mode view saves it
    PadTable<std::string> strPadMode{};
    std::string strLedSysEx;
    int16_t intCurrentBank = 0;
    std::string strButtonMode;
    std::array<bool, kButtons> bButtonLed{};
    std::array<std::string, kButtons> strButtonLedId{};
    int32_t intLastXYValue = 0;
};
