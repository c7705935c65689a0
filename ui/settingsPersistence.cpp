#include "engine/UCase.h"
#include "settings/FirstRunValues.h"
#include "settings/SettingsBatch.h"
#include "settings/TextNumber.h"
#include "settings/mSettings.h"
#include "ui/frmMain.h"

#include <cstdio>
#include <utility>

namespace {
// "PadMode_1_01" .. "PadState_3_16": bank index + 1, pad index + 1 in two digits.
std::string padValueName(const char* kind, int bank, int pad) {
    char name[32];
    std::snprintf(name, sizeof name, "%s_%d_%02d", kind, bank + 1, pad + 1);
    return name;
}

// A flag that is on only when stored as "1"; otherwise "0" is stored and the flag kept.
void restoreFlag(const char* valueName, bool& flag) {
    if (UCase(ReadSetting(valueName)) == "1")
        flag = true;
    else
        WriteSetting(valueName, "0");
}

// A number stored as a setting; unusable or absent, the default is stored and applied.
void restoreNumber(const char* readName, const char* writeName, int16_t defaultValue,
                   int16_t& target) {
    if (const auto value = IntegerOfText(ReadSetting(readName))) {
        target = *value;
        return;
    }
    WriteSetting(writeName, std::to_string(defaultValue));
    target = defaultValue;
}
} // namespace

std::optional<int> frmMain::RestoreSettings() {
    SettingsBatch batch; // the defaults written go to the file at once
    ControllerSettings& s = settings_;
    restoreFlag("AssignToggled", s.bAssignToggled);
    restoreFlag("FixedVelocity", s.bFixedVelocity);

    const std::pair<const char*, SettingText*> modes[] = {
        {"KnobSends", &s.strKnobMode},
        {"JogWheelSends", &s.strJogWheelMode},
        {"CN1Mode", &s.strCN1MidiCC},
        {"CN2Mode", &s.strCN2MidiCC},
        {"CN3Mode", &s.strCN3MidiCC},
        {"FDBMode", &s.strFDBMidiCC},
        {"ToggleMode", &s.strToggleMidiCC},
        {"FlashMode", &s.strFlashMidiCC},
        {"BankSelectMode", &s.strBankSelectMidiCC},
        {"TRKMode", &s.strTRKMidiCC},
    };
    for (const auto& [valueName, mode] : modes) {
        const auto stored = UCase(ReadSetting(valueName));
        if (stored == "MIDI" || stored == "CC") {
            *mode = stored;
        } else {
            WriteSetting(valueName, "MIDI");
            *mode = "MIDI";
        }
    }

    const auto channel = IntegerOfText(ReadSetting("GlobalChannel"));
    if (channel && *channel >= 1 && *channel <= 16)
        s.intMidiChannel = static_cast<int16_t>(*channel - 1);
    else
        WriteSetting("GlobalChannel", std::to_string(kFirstRunChannel));

    restoreNumber("JogWheelLeft", "JogWheelLeft", kFirstRunJogWheelLeft, s.intJogWheelLeft);
    restoreNumber("JogWheelright", "JogWheelRight", kFirstRunJogWheelRight, s.intJogWheelRight);

    if (UCase(ReadSetting("XYpadTap")) == "1") {
        s.bXYPadTap = true;
        return 200;
    }
    return std::nullopt;
}

void frmMain::LoadFdbPadsAlwaysActive() {
    if (ReadSetting("FdbPadsAlwaysActive") == "1")
        settings_.bFdbPadsAlwaysActive = true;
}

bool frmMain::SaveSettings() {
    RefreshFromHost();
    SettingsBatch batch;
    const ControllerState& state = snapshot_.state;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
        for (int pad = 0; pad < ControllerState::kPads; ++pad) {
            WriteSetting(padValueName("PadMode", bank, pad), state.strPadMode[pad][bank].str());
            WriteSetting(padValueName("PadState", bank, pad),
                         state.bPadState[pad][bank] ? "-1" : "0");
        }
    }
    if (state.bAssignToggled) {
        WriteSetting("Knob1Active", state.bKnob1State ? "1" : "0");
        WriteSetting("Knob2Active", state.bKnob2State ? "1" : "0");
    }
    return batch.commit();
}

// Pads still as they were at start-up would overwrite the stored ones with nothing: only pads
// recalled or changed in this run are saved at an ending nobody was asked about.
bool frmMain::PadsWorthSaving() const {
    const ControllerState& state = snapshot_.state;
    if (padsRecalled_ || state.bKnob1State || state.bKnob2State)
        return true;
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            if (state.strPadMode[pad][bank] != "FLASH" || state.bPadState[pad][bank])
                return true;
    return false;
}

void frmMain::SavePadsUnasked() {
    if (std::exchange(padsSettled_, true))
        return;
    if (PadsWorthSaving() && !SaveSettings())
        std::fprintf(stderr, "orvan: the pad assignments could not be saved\n");
}

// Read before the engine needs it: the engine applies it once native mode is entered.
PadRecall frmMain::RecallPadSettings() {
    PadRecall recall;
    recall.tapIntervalMs = RestoreSettings();
    recall.settings = settings_;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
        for (int pad = 0; pad < ControllerState::kPads; ++pad) {
            const std::string mode = ReadSetting(padValueName("PadMode", bank, pad));
            if (!mode.empty())
                recall.padMode[pad][bank] = ModeText(mode);
            if (const auto state = IntegerOfText(ReadSetting(padValueName("PadState", bank, pad))))
                recall.padState[pad][bank] = *state != 0;
        }
    }
    recall.knob1Active = ReadSetting("Knob1Active") == "1";
    recall.knob2Active = ReadSetting("Knob2Active") == "1";
    return recall;
}
