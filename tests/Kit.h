#pragma once

#include "support/Harness.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

using Wire = std::vector<std::string>;

// A main window started as at program start, its start-up output forgotten.
struct Started : Harness {
    explicit Started(RecordingHost::Setup setup = {}) : Harness(std::move(setup)) { load(); }
};

// The items of a comma-separated list, without the blanks around them; empty items are skipped.
inline std::vector<std::string> Items(const std::string& list) {
    std::vector<std::string> items;
    for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        const size_t first = item.find_first_not_of(' ');
        if (first != std::string::npos)
            items.push_back(item.substr(first, item.find_last_not_of(' ') - first + 1));
        start = end + 1;
    }
    return items;
}

// Expected wire texts in short, separated by commas: "+43" / "-03" is the single-LED message that
// lights LED 43 / darkens LED 03; "[41 00 00 00 00|31 20 42]" is the LED packet with these five
// LED bytes and three display bytes ("[41 00 00 00 00]" with display bytes 00 00 00); anything
// else stands as written.
inline Wire W(const std::string& list) {
    Wire wire;
    for (const std::string& item : Items(list)) {
        if (item.starts_with('+') || item.starts_with('-')) {
            wire.push_back("f0 42 40 6e 08 01 " + item.substr(1) +
                           (item[0] == '+' ? " 20" : " 00") + " f7");
        } else if (item.starts_with('[')) {
            const size_t bar = item.find('|');
            const std::string leds = item.substr(1, std::min(bar, item.size() - 1) - 1);
            const std::string display =
                bar == std::string::npos ? "00 00 00" : item.substr(bar + 1, item.size() - bar - 2);
            wire.push_back("F0 42 40 6E 08 3F 0A 01 " + leds + " 00 " + display + " F7");
        } else {
            wire.push_back(item);
        }
    }
    return wire;
}

// Controller reports, separated by commas ("45 43 64, 45 03 00").
inline void Reports(Harness& h, const std::string& list) {
    for (const std::string& payload : Items(list))
        h.report(payload);
}

// Button reports by switch number, blank-separated: "00+" pressed, "00-" released.
inline void Switches(Harness& h, const std::string& steps) {
    for (size_t at = 0; at + 2 < steps.size(); at += 4)
        h.report("48 " + steps.substr(at, 2) + (steps[at + 2] == '+' ? " 7F" : " 00"));
}

// Every lit pad (of one bank, or of all) as "pad/bank", banks first, blank-separated.
inline std::string Lit(const ControllerState& s, int only = -1) {
    std::string lit;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank)
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            if (s.bPadState[pad][bank] && (only < 0 || bank == only))
                lit += (lit.empty() ? "" : " ") + std::to_string(pad) + "/" + std::to_string(bank);
    return lit;
}

// Gives a pad a mode and a state.
inline void SetPad(ControllerState& s, int pad, int bank, const std::string& mode,
                   bool lit = false) {
    s.strPadMode[pad][bank] = mode;
    s.bPadState[pad][bank] = lit;
}

// Gives pads modes, and states: "1/0 CN1*, 6/0 CN1" makes pad 1 of bank 0 a lit "CN1" pad and
// pad 6 of bank 0 a dark one.
inline void SetPads(ControllerState& s, const std::string& list) {
    for (const std::string& item : Items(list)) {
        const size_t slash = item.find('/'), blank = item.find(' ');
        const bool lit = item.ends_with('*');
        SetPad(s, std::stoi(item.substr(0, slash)), std::stoi(item.substr(slash + 1)),
               item.substr(blank + 1, item.size() - blank - 1 - lit), lit);
    }
}

// SetDisplay with a text of the test's own.
inline void Show(ControllerEngine& m, const std::string& text, bool timed) {
    DisplayText shown(text);
    m.SetDisplay(shown, timed);
}

// The report arrives while the engine waits next (inside a pulse), and is handled nested there.
inline void ReportDuringNextWait(Harness& h, const std::string& payload) {
    h.reportDuringNextWait(payload);
}

// The state variable that the stored setting of this name feeds, as text; flags as "1" / "0".
inline std::string Variable(const ControllerSettings& m, const std::string& name) {
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    const std::map<std::string, std::string> variables = {
        {"GlobalChannel", std::to_string(m.intMidiChannel)},
        {"JogWheelLeft", std::to_string(m.intJogWheelLeft)},
        {"JogWheelRight", std::to_string(m.intJogWheelRight)},
        {"KnobSends", m.strKnobMode.str()},
        {"JogWheelSends", m.strJogWheelMode.str()},
        {"CN1Mode", m.strCN1MidiCC.str()},
        {"CN2Mode", m.strCN2MidiCC.str()},
        {"CN3Mode", m.strCN3MidiCC.str()},
        {"FDBMode", m.strFDBMidiCC.str()},
        {"ToggleMode", m.strToggleMidiCC.str()},
        {"FlashMode", m.strFlashMidiCC.str()},
        {"BankSelectMode", m.strBankSelectMidiCC.str()},
        {"TRKMode", m.strTRKMidiCC.str()},
        {"AssignToggled", flag(m.bAssignToggled)},
        {"FixedVelocity", flag(m.bFixedVelocity)},
        {"XYPadTap", flag(m.bXYPadTap)},
        {"FdbPadsAlwaysActive", flag(m.bFdbPadsAlwaysActive)},
    };
    return variables.at(name);
}

// The variables of the settings named, as "Name=text, Name=text".
inline std::string Variables(const ControllerSettings& m, const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name + "=" + Variable(m, name);
    return list;
}

// The ten Notes/CC settings, in the order a first start-up stores them.
inline const std::vector<std::string> kModeSettings = {
    "KnobSends", "JogWheelSends", "CN1Mode",   "CN2Mode",        "CN3Mode",
    "FDBMode",   "ToggleMode",    "FlashMode", "BankSelectMode", "TRKMode"};
