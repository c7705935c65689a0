#pragma once

#include "engine/ControllerState.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every setting's stored name, in one place. Names match without regard to case.
namespace key {
inline constexpr const char* AutoRecall = "AutoRecall";
inline constexpr const char* ControllerPorts = "ControllerPorts";
inline constexpr const char* DawPorts = "DawPorts";
inline constexpr const char* WindowGeometry = "WindowGeometry";
inline constexpr const char* WindowPanes = "WindowPanes";
inline constexpr const char* WindowSeeAndPlay = "WindowSeeAndPlay";
inline constexpr const char* Knob1Active = "Knob1Active";
inline constexpr const char* Knob2Active = "Knob2Active";
inline constexpr const char* LastScene = "LastScene";
// The values "Config" edits (kConfig below).
inline constexpr const char* AssignToggled = "AssignToggled";
inline constexpr const char* FixedVelocity = "FixedVelocity";
inline constexpr const char* KnobSends = "KnobSends";
inline constexpr const char* JogWheelSends = "JogWheelSends";
inline constexpr const char* CN1Mode = "CN1Mode";
inline constexpr const char* CN2Mode = "CN2Mode";
inline constexpr const char* CN3Mode = "CN3Mode";
inline constexpr const char* FDBMode = "FDBMode";
inline constexpr const char* ToggleMode = "ToggleMode";
inline constexpr const char* FlashMode = "FlashMode";
inline constexpr const char* BankSelectMode = "BankSelectMode";
inline constexpr const char* TRKMode = "TRKMode";
inline constexpr const char* GlobalChannel = "GlobalChannel";
inline constexpr const char* JogWheelLeft = "JogWheelLeft";
inline constexpr const char* JogWheelRight = "JogWheelRight";
inline constexpr const char* XYPadTap = "XYPadTap";
inline constexpr const char* FdbPadsAlwaysActive = "FdbPadsAlwaysActive";
inline constexpr const char* SceneChannel = "SceneChannel";
inline constexpr const char* NoteRepeatControl = "NoteRepeatControl";
inline constexpr const char* NoteRepeatRate = "NoteRepeatRate";
inline constexpr const char* NoteRepeatSwing = "NoteRepeatSwing";
inline constexpr const char* NoteRepeatGate = "NoteRepeatGate";
inline constexpr const char* OwnTempo = "OwnTempo";
inline constexpr const char* TapTempoControl = "TapTempoControl";
} // namespace key

// The values "Config" edits: their names (and the other spelling that stored files use), what
// they accept, what a first run stores, and the member of ControllerSettings each one feeds.
enum class SettingKind : uint8_t {
    Flag,          // "1" on, "0" off
    Sends,         // "MIDI" or "CC", in any case
    Channel,       // 1..16
    Number,        // a whole number
    SceneChannel,  // "Off" or 1..16
    RepeatControl, // "Off", "Pedal" or "Note button 1".."Note button 6"
    RepeatRate,    // "1/4", "1/8", "1/16", "1/32", a "T" after for triplets
    Percent,       // 0..100, decimal, kept in tenths
    Tempo,         // 20..300 beats per minute, decimal, kept in hundredths
};

struct ConfigKey {
    const char* name;
    const char* historic; // read as well; nullptr when there is none
    SettingKind kind;
    const char* firstRun;
    // Restored with the pads at native-mode entry; an unusable value is then replaced by firstRun
    // when storesFirstRun.
    bool recalled;
    bool storesFirstRun;
    bool ControllerSettings::*flag = nullptr;
    SettingText ControllerSettings::*sends = nullptr;
    int16_t ControllerSettings::*number = nullptr;
};

// In the order a first run stores them.
extern const std::array<ConfigKey, 24> kConfig;

// The key of that name or of its other spelling, without regard to case; nullptr when none.
const ConfigKey* FindConfigKey(std::string_view name);
// Puts the value the text means into settings; false, with settings untouched, when the key does
// not accept the text.
bool ApplySettingText(const ConfigKey& key, std::string_view text, ControllerSettings& settings);
// The text that stores the key's value in settings.
std::string SettingTextOf(const ConfigKey& key, const ControllerSettings& settings);
// The texts a key offers to choose from, as a chooser lists them; empty for a key that is typed.
std::vector<std::string> SettingChoices(const ConfigKey& key);
