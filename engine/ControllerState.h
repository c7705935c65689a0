#pragma once

#include "engine/FixedText.h"
#include "engine/Mapping.h"
#include "engine/NoteRepeat.h"

#include <array>
#include <cstdint>
#include <optional>

// Pad modes ("FLASH", "TOGGLE", "CN1", ...) and the mode of the held mode button. Stored modes
// that are no mode of Orvan's are kept as far as they fit.
using ModeText = FixedText<31>;
// An output kind: "MIDI" or "CC".
using SettingText = FixedText<15>;
// Texts handed to the display.
using DisplayText = FixedText<15>;
// The LED and display packet as text.
using LedPacketText = FixedText<63>;

// What the configuration dialog edits and the store restores. Integer members are 16-bit, as the
// stored settings and the wire values expect.
struct ControllerSettings {
    int16_t intMidiChannel = 0;
    SettingText strJogWheelMode;
    int16_t intJogWheelLeft = 0;
    int16_t intJogWheelRight = 0;
    SettingText strKnobMode;
    bool bAssignToggled = false;
    SettingText strCN1MidiCC;
    SettingText strCN2MidiCC;
    SettingText strCN3MidiCC;
    SettingText strFDBMidiCC;
    SettingText strToggleMidiCC;
    SettingText strFlashMidiCC;
    SettingText strBankSelectMidiCC;
    SettingText strTRKMidiCC;
    bool bFixedVelocity = false;
    bool bFdbPadsAlwaysActive = false;
    bool bXYPadTap = false;
    // The channel (0..15) on which a program change from the music software switches scenes;
    // -1: off.
    int16_t intSceneChannel = -1;
    // Note repeat: the control that holds it on and the one that taps the own tempo
    // (RepeatControl), the rate in steps per whole note, swing and gate in tenths of a percent,
    // the own tempo in hundredths of a BPM.
    int16_t intRepeatControl = 0;
    int16_t intRepeatRate = 16;
    int16_t intRepeatSwing = 0;
    int16_t intRepeatGate = 500;
    int16_t intOwnTempo = 12000;
    int16_t intTapTempoControl = 0;
};

// What note repeat has a control do: nothing (it does what it always did), hold repeat on while
// held, or tap the own tempo.
enum class RepeatJob { None, Hold, Tap };
inline RepeatJob RepeatJobOf(const ControllerSettings& s, RepeatControl control) {
    const auto c = static_cast<int16_t>(control);
    if (control == RepeatControl::Off)
        return RepeatJob::None;
    if (c == s.intRepeatControl)
        return RepeatJob::Hold;
    return c == s.intTapTempoControl ? RepeatJob::Tap : RepeatJob::None;
}
// Note button n (from 0) as a control note repeat may take.
inline RepeatControl NoteButtonControl(int n) {
    return static_cast<RepeatControl>(static_cast<int>(RepeatControl::NoteButton) + n);
}

// The whole run-time state of the controller mapping: the settings, the pads of the three banks,
// the buttons and the LED packet.
struct ControllerState : ControllerSettings {
    static constexpr int kPads = 16;
    static constexpr int kBanks = 3;
    static constexpr int kButtons = 19;
    // A pad's note or controller number: each bank's pads start 24 numbers after the last's.
    static constexpr int kBankStride = 24;
    // Feedback of at least this value lights a feedback pad; less darkens it.
    static constexpr int kFeedbackLit = 63;
    static constexpr int16_t PadNumber(int bank, int pad) {
        return static_cast<int16_t>(kBankStride * bank + pad);
    }

    template <typename T> using PadTable = std::array<std::array<T, kBanks>, kPads>;

    bool bKnob1State = false;
    bool bKnob2State = false;
    bool bInitialising = false;
    DisplayText strDisplayText;
    std::array<int32_t, 2> intKnobValue{};
    PadTable<bool> bPadState{};                     // [pad][bank]
    PadTable<std::optional<bool>> vPadStateSaved{}; // empty until a mode view saves it
    PadTable<ModeText> strPadMode{};
    LedPacketText strLedSysEx;
    int16_t intCurrentBank = 0;
    ModeText strButtonMode;
    std::array<bool, kButtons> bButtonLed{};
    std::array<FixedText<2>, kButtons> strButtonLedId{};
    int32_t intLastXYValue = 0;

    // What each control sends over the built-in numbers (engine/mapping.cpp).
    Mapping mapping;
    // Notes sent and not yet ended, per channel: what a mapping change or an ending must end.
    std::array<std::array<uint64_t, 2>, 16> soundingNotes{};
    // Pads whose hit fell below the threshold: their release is ignored too.
    std::array<bool, kPads> bHitIgnored{};
    // Program changes on the scene channel so far, and the newest one's program.
    uint32_t sceneRequests = 0;
    NoteRepeatState noteRepeat;
    int16_t sceneProgram = 0;

    int32_t ChannelOf(const MappedMessage& m) const {
        return m.channel == MappedMessage::kGlobalChannel ? intMidiChannel : m.channel;
    }
    bool Sounding(int32_t channel, int32_t note) const {
        return (soundingNotes[channel & 15][(note >> 6) & 1] >> (note & 63)) & 1U;
    }
};
