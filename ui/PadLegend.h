#pragma once

#include "engine/ControllerState.h"

#include <string>

// What a pad of one bank is set to: its mode, shown as the display shows it while the mode
// button is held, and what a hit sends (engine/pads.cpp).
struct PadLegend {
    enum Output { Nothing, Notes, Controllers };
    std::string mode; // "FLASH", "TGL", "CN1", "CN2", "CN3", "TRK", "FDB", or the stored text
    Output output = Nothing;
    int number = 0; // the note or controller number

    // "note 5", "CC 5", or nothing.
    std::string sends() const;
    bool operator==(const PadLegend&) const = default;
};

PadLegend LegendOf(const ControllerState& state, int pad, int bank);
