#pragma once

#include "host/frmMain.h"

#include <string>
#include <utility>
#include <vector>

// What Orvan puts on the wire, written out for expectations.
inline std::string ledOn(const std::string& id) {
    return "f0 42 40 6e 08 01 " + id + " 20 f7";
}
inline std::string ledOff(const std::string& id) {
    return "f0 42 40 6e 08 01 " + id + " 00 f7";
}
// The LED packet with five LED bytes ("00 00 00 00 00") and three display bytes.
inline std::string ledPacket(const std::string& ledBytes, const std::string& display = "00 00 00") {
    return "F0 42 40 6E 08 3F 0A 01 " + ledBytes + " 00 " + display + " F7";
}

// Every lit pad of every bank as (pad, bank), banks first.
inline std::vector<std::pair<int, int>> litPads(const ControllerState& s) {
    std::vector<std::pair<int, int>> lit;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank)
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            if (s.bPadState[pad][bank])
                lit.emplace_back(pad, bank);
    return lit;
}

// Gives a pad a mode and a state.
inline void setPad(ControllerState& s, int pad, int bank, const std::string& mode,
                   bool lit = false) {
    s.strPadMode[pad][bank] = mode;
    s.bPadState[pad][bank] = lit;
}
