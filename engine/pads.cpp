#include "engine/ControllerEngine.h"
#include "engine/GroupSetting.h"
#include "engine/HexText.h"
#include "engine/NativeMessages.h"
#include "engine/UCase.h"

#include <array>
#include <utility>

// A pad hit or release: played by the pad's mode, or, while a mode button is held, used to give
// the pad that mode or take it away.

namespace {
bool isPad(int pad) {
    return pad >= 0 && pad < ControllerState::kPads;
}

const MappedMessage& mappedOf(const ControllerEngine& w, int pad, int16_t bank) {
    return w.mapping.pads[pad][bank].message;
}

// Group pads send notes for exactly "MIDI" and control changes for anything else.
void sendGroup(ControllerEngine& w, const SettingText* setting, int pad, int16_t bank,
               int16_t value) {
    const int16_t n = ControllerState::PadNumber(bank, pad);
    if (mappedOf(w, pad, bank).Set())
        w.SendMapped(mappedOf(w, pad, bank), value);
    else if (!setting)
        return;
    else if (*setting == "MIDI")
        w.SendNote(n, value);
    else
        w.SendCC(static_cast<int16_t>(n + 1), value);
}

// A hit latches the pad; every other lit pad of the same mode in this bank goes off first.
void playGroup(ControllerEngine& w, std::string_view strID, int pad, std::string_view Velocity) {
    const int16_t bank = w.intCurrentBank;
    const ModeText mode = w.strPadMode[pad][bank];
    const SettingText* setting = GroupSetting(w, mode);
    for (int m = 0; m < ControllerState::kPads; ++m) {
        if (m == pad || w.strPadMode[m][bank] != mode || !w.bPadState[m][bank])
            continue;
        w.PadOff(HexByte(native::kPadHitForm + m));
        w.bPadState[m][bank] = false;
        sendGroup(w, setting, m, bank, 0);
    }
    bool& state = w.bPadState[pad][bank];
    state = !state;
    if (state)
        w.PadOn(strID);
    else
        w.PadOff(strID);
    const int16_t level = state ? 1 : 0;
    sendGroup(w, setting, pad, bank, static_cast<int16_t>(level * HextoDec(Velocity)));
}

void playTrack(ControllerEngine& w, int pad, bool bolOnOff) {
    const int16_t n = ControllerState::PadNumber(w.intCurrentBank, pad);
    if (mappedOf(w, pad, w.intCurrentBank).Set())
        return w.SendMapped(mappedOf(w, pad, w.intCurrentBank), bolOnOff ? 127 : 0);
    const bool notes = UCase(w.strTRKMidiCC) == "MIDI";
    if (notes && bolOnOff)
        w.SendNoteOn(n);
    else if (notes)
        w.SendNoteOff(n);
    else
        w.SendCC(static_cast<int16_t>(n + 1), bolOnOff ? 127 : 0);
}

// A feedback pad plays only while active; its LED otherwise follows the feedback state.
void playFeedback(ControllerEngine& w, std::string_view strID, int pad, bool bolOnOff,
                  std::string_view Velocity) {
    const int16_t bank = w.intCurrentBank;
    const bool state = w.bPadState[pad][bank];
    if (!state && !w.bFdbPadsAlwaysActive)
        return;
    const int16_t n = ControllerState::PadNumber(bank, pad);
    const auto value = static_cast<int16_t>(bolOnOff ? HextoDec(Velocity) : 0);
    if (mappedOf(w, pad, bank).Set())
        w.SendMapped(mappedOf(w, pad, bank), value);
    else if (UCase(w.strFDBMidiCC) == "MIDI")
        w.SendNote(n, value);
    else
        w.SendCC(static_cast<int16_t>(n + 1), value);
    if (bolOnOff && w.bFdbPadsAlwaysActive)
        w.PadOn(strID);
    else if (!state)
        w.PadOff(strID);
}

// A hit gives the pad the held mode, or back to "FLASH" when it has that mode already.
void assignHeldMode(ControllerEngine& w, std::string_view strID, int pad) {
    static constexpr std::array<std::string_view, 6> heldModes = {"TOGGLE", "CN1", "CN2",
                                                                  "CN3",    "FDB", "TRK"};
    const int16_t bank = w.intCurrentBank;
    for (std::string_view held : heldModes) {
        if (w.strButtonMode != held)
            continue;
        if (w.strPadMode[pad][bank] == held) {
            w.strPadMode[pad][bank] = "FLASH";
            w.bPadState[pad][bank] = false;
            w.vPadStateSaved[pad][bank] = false;
            w.PadOff(strID);
        } else {
            w.strPadMode[pad][bank] = held;
            w.PadOn(strID);
            // A new track pad shows lit once the mode view ends.
            if (held == "TRK")
                w.vPadStateSaved[pad][bank] = true;
        }
        return;
    }
}
} // namespace

void ControllerEngine::ZivUvozaro_PadPressed(std::string_view strID, bool bolOnOff,
                                             std::string_view Velocity) {
    const int32_t v = HextoDec(strID);
    const int pad = v >= native::kPadHitForm ? v - native::kPadHitForm : v;
    if (!isPad(pad))
        return; // the controller has no such pad
    // A repeating pad's release is the repeat's, whatever is held meanwhile.
    if (!bolOnOff && RepeatPad(pad, false, "")) {
        if (strPadMode[pad][intCurrentBank] == "FLASH")
            PadOff(strID);
        return;
    }
    if (!strButtonMode.empty()) {
        if (bolOnOff)
            assignHeldMode(*this, strID, pad);
        return;
    }

    // A hit below the threshold is not played, and neither is its release.
    HexPair shaped;
    if (!bolOnOff && std::exchange(bHitIgnored[pad], false))
        return;
    if (const VelocityShape& shape = mapping.ShapeOf(pad, intCurrentBank);
        bolOnOff && !shape.Identity()) {
        const int v = ShapeVelocity(shape, HextoDec(Velocity));
        bHitIgnored[pad] = v < 0;
        if (v < 0)
            return;
        shaped = HexByte(v);
        Velocity = shaped;
    }

    if (bolOnOff && RepeatPad(pad, true, Velocity)) {
        if (strPadMode[pad][intCurrentBank] == "FLASH")
            PadOn(strID);
        return;
    }
    const ModeText mode = strPadMode[pad][intCurrentBank];
    if (mode == "FLASH")
        PadOnOff(strID, bolOnOff, static_cast<int16_t>(pad), Velocity);
    if (mode == "TOGGLE" && bolOnOff) {
        bool& state = bPadState[pad][intCurrentBank];
        state = !state;
        PadOnOff(strID, state, static_cast<int16_t>(pad), Velocity);
    }
    if (mode.view().starts_with("CN") && bolOnOff)
        playGroup(*this, strID, pad, Velocity);
    if (mode == "TRK")
        playTrack(*this, pad, bolOnOff);
    if (UCase(mode) == "FDB")
        playFeedback(*this, strID, pad, bolOnOff, Velocity);
}

void ControllerEngine::PadOnOff(std::string_view strInternalPadID, bool bolOnOff,
                                int16_t intPadNumber, std::string_view Velocity) {
    if (!isPad(intPadNumber))
        return;
    if (bolOnOff)
        PadOn(strInternalPadID);
    else
        PadOff(strInternalPadID);

    std::string_view mode = strPadMode[intPadNumber][intCurrentBank];
    const SettingText* setting = mode == "TOGGLE"  ? &strToggleMidiCC
                                 : mode == "FLASH" ? &strFlashMidiCC
                                                   : nullptr;
    if (!setting)
        return;
    const int16_t n = ControllerState::PadNumber(intCurrentBank, intPadNumber);
    if (const MappedMessage& m = mappedOf(*this, intPadNumber, intCurrentBank); m.Set()) {
        const bool note = m.kind == MessageKind::Note;
        const auto on = static_cast<int16_t>(note && !bFixedVelocity ? HextoDec(Velocity) : 127);
        SendMapped(m, bolOnOff ? on : 0);
    } else if (*setting == "CC") {
        SendCC(static_cast<int16_t>(n + 1), bolOnOff ? 127 : 0);
    } else if (*setting == "MIDI") {
        if (!bolOnOff)
            SendNoteOff(n);
        else if (bFixedVelocity)
            SendNoteOn(n);
        else
            SendNote(n, static_cast<int16_t>(HextoDec(Velocity)));
    }
}
