#include "settings/SettingKeys.h"
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

// "-1" is the stored form of a lit pad.
void writePad(int bank, int pad, std::string_view mode, bool lit) {
    WriteSetting(padValueName("PadMode", bank, pad), std::string(mode));
    WriteSetting(padValueName("PadState", bank, pad), lit ? "-1" : "0");
}
} // namespace

// Each recalled value the store holds in a usable form is restored; an unusable or absent one is
// replaced by its first-run value where the key says so, flags staying as they are.
std::optional<int> frmMain::RestoreSettings() {
    SettingsBatch batch; // the defaults written go to the file at once
    // Pad assignments come back at "Native Mode" unless the user said otherwise.
    if (ReadSetting(key::AutoRecall).empty())
        WriteSetting(key::AutoRecall, "1");
    bool tap = false;
    for (const ConfigKey& key : kConfig) {
        if (!key.recalled)
            continue;
        const std::string stored = ReadSetting(key.historic ? key.historic : key.name);
        // A flag is switched on by the store, never off.
        const bool usable = key.kind == SettingKind::Flag
                                ? stored == "1" && ApplySettingText(key, stored, settings_)
                                : ApplySettingText(key, stored, settings_);
        if (key.flag == &ControllerSettings::bXYPadTap)
            tap = usable;
        if (usable || !key.storesFirstRun)
            continue;
        WriteSetting(key.name, key.firstRun);
        if (key.kind == SettingKind::Sends || key.kind == SettingKind::Number)
            ApplySettingText(key, key.firstRun, settings_);
    }
    return tap ? std::optional<int>(kXYTapRestMs) : std::nullopt;
}

void frmMain::LoadFdbPadsAlwaysActive() {
    if (ReadSetting(key::FdbPadsAlwaysActive) == "1")
        settings_.bFdbPadsAlwaysActive = true;
}

bool frmMain::SaveSettings() {
    RefreshFromHost();
    SettingsBatch batch;
    const ControllerState& state = snapshot_.state;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
        for (int pad = 0; pad < ControllerState::kPads; ++pad) {
            writePad(bank, pad, state.strPadMode[pad][bank], state.bPadState[pad][bank]);
        }
    }
    if (state.bAssignToggled) {
        WriteSetting(key::Knob1Active, state.bKnob1State ? "1" : "0");
        WriteSetting(key::Knob2Active, state.bKnob2State ? "1" : "0");
    }
    return batch.commit();
}

void frmMain::writePads(const PadRecall& pads) {
    for (int bank = 0; bank < ControllerState::kBanks; ++bank)
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            writePad(bank, pad, pads.padMode[pad][bank].value_or("FLASH"),
                     pads.padState[pad][bank].value_or(false));
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
    recall.knob1Active = ReadSetting(key::Knob1Active) == "1";
    recall.knob2Active = ReadSetting(key::Knob2Active) == "1";
    return recall;
}

// A rate chosen with the jog wheel or a tapped tempo is kept like one chosen in "Config", and the
// settings sent later carry it.
void frmMain::followRepeatChanges() {
    const ControllerState& state = snapshot_.state;
    if (state.noteRepeat.changes == repeatChanges_)
        return;
    repeatChanges_ = state.noteRepeat.changes;
    settings_.intRepeatRate = state.intRepeatRate;
    settings_.intOwnTempo = state.intOwnTempo;
    for (const char* name : {key::NoteRepeatRate, key::OwnTempo}) {
        const ConfigKey& changed = *FindConfigKey(name);
        WriteSetting(changed.name, SettingTextOf(changed, settings_));
    }
}
