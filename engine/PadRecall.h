#pragma once

#include "engine/ControllerState.h"

#include <optional>

// What the recall at native-mode entry brings back, read from the store before it is needed: the
// settings as restored, and the saved pads and knob states. A pad whose values were never saved,
// or hold no number, keeps what it has.
struct PadRecall {
    ControllerSettings settings;
    std::optional<int> tapIntervalMs; // set when the settings change the tap timer
    ControllerState::PadTable<std::optional<ModeText>> padMode{};
    ControllerState::PadTable<std::optional<bool>> padState{};
    bool knob1Active = false;
    bool knob2Active = false;
};
