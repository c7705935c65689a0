#include "host/frmMain.h"
#include "mapping/UCase.h"
#include "settings/FirstRunValues.h"
#include "settings/SettingsBatch.h"
#include "settings/TextNumber.h"
#include "settings/mSettings.h"

#include <cstdio>

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

void frmMain::RestoreSettings() {
    SettingsBatch batch;
    restoreFlag("AssignToggled", bAssignToggled);
    restoreFlag("FixedVelocity", bFixedVelocity);

    const std::pair<const char*, std::string*> modes[] = {
        {"KnobSends", &strKnobMode},
        {"JogWheelSends", &strJogWheelMode},
        {"CN1Mode", &strCN1MidiCC},
        {"CN2Mode", &strCN2MidiCC},
        {"CN3Mode", &strCN3MidiCC},
        {"FDBMode", &strFDBMidiCC},
        {"ToggleMode", &strToggleMidiCC},
        {"FlashMode", &strFlashMidiCC},
        {"BankSelectMode", &strBankSelectMidiCC},
        {"TRKMode", &strTRKMidiCC},
    };
    for (const auto& [valueName, mode] : modes) {
        const std::string stored = UCase(ReadSetting(valueName));
        if (stored == "MIDI" || stored == "CC") {
            *mode = stored;
        } else {
            WriteSetting(valueName, "MIDI");
            *mode = "MIDI";
        }
    }

    const auto channel = IntegerOfText(ReadSetting("GlobalChannel"));
    if (channel && *channel >= 1 && *channel <= 16)
        intMidiChannel = static_cast<int16_t>(*channel - 1);
    else
        WriteSetting("GlobalChannel", std::to_string(kFirstRunChannel));

    restoreNumber("JogWheelLeft", "JogWheelLeft", kFirstRunJogWheelLeft, intJogWheelLeft);
    restoreNumber("JogWheelright", "JogWheelRight", kFirstRunJogWheelRight, intJogWheelRight);

    if (UCase(ReadSetting("XYpadTap")) == "1") {
        bXYPadTap = true;
        tmrTap.setInterval(200);
    }
}

void frmMain::LoadFdbPadsAlwaysActive() {
    if (ReadSetting("FdbPadsAlwaysActive") == "1")
        bFdbPadsAlwaysActive = true;
}

void frmMain::SaveSettings() {
    SettingsBatch batch;
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int pad = 0; pad < kPads; ++pad) {
            WriteSetting(padValueName("PadMode", bank, pad), strPadMode[pad][bank]);
            WriteSetting(padValueName("PadState", bank, pad), bPadState[pad][bank] ? "-1" : "0");
        }
    }
    if (bAssignToggled) {
        WriteSetting("Knob1Active", bKnob1State ? "1" : "0");
        WriteSetting("Knob2Active", bKnob2State ? "1" : "0");
    }
}

void frmMain::RecallPadSettings() {
    RestoreSettings();
    // A pad whose values were never saved, or hold no number, keeps what it has.
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int pad = 0; pad < kPads; ++pad) {
            const std::string mode = ReadSetting(padValueName("PadMode", bank, pad));
            if (!mode.empty())
                strPadMode[pad][bank] = mode;
            if (const auto state = IntegerOfText(ReadSetting(padValueName("PadState", bank, pad))))
                bPadState[pad][bank] = *state != 0;
        }
    }
    padsRecalled_ = true;
    if (ReadSetting("Knob1Active") == "1")
        bKnob1State = true;
    if (ReadSetting("Knob2Active") == "1")
        bKnob2State = true;
    ZivUvozaro_SetLights();
}
