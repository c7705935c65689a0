#pragma once

#include "engine/ControllerState.h"

#include <string>
#include <string_view>

// What a pad of one bank is set to: its mode, shown as the display shows it while the mode
// button is held, and what a hit sends (engine/pads.cpp).
struct PadLegend {
    enum Output { Nothing, Notes, Controllers, Programs };
    std::string mode; // "FLASH", "TGL", "CN1", "CN2", "CN3", "TRK", "FDB", or the stored text
    Output output = Nothing;
    int number = 0;      // the note, controller or program number
    bool mapped = false; // the player's mapping gives the message
    int channel = -1;    // a mapped message's own channel 0..15, or -1: the global one

    // Built-in: "note 5", "CC 5", or nothing; mapped: "C1 36 ch10", "CC 20", "PC 5".
    std::string sends() const;
    bool operator==(const PadLegend&) const = default;
};

PadLegend LegendOf(const ControllerState& state, int pad, int bank);

// A mode's short form as the view shows it ("FLASH", "TGL", "CN1", ...) and its name in plain
// words ("Momentary", "Toggle", "Group 1", ...); a mode Orvan does not know has no plain name.
struct ModeName {
    const char* shortForm;
    const char* plain;
    const char* meaning; // what a pad in the mode does, for tooltips
    const char* mode;    // as the engine and the settings file store it
};
inline constexpr ModeName kModeNames[] = {
    {"FLASH", "Momentary", "sounds while held; lit while held", "FLASH"},
    {"TGL", "Toggle", "each hit switches it on or off", "TOGGLE"},
    {"CN1", "Group 1", "a toggle; switching one pad of the group on switches the others off",
     "CN1"},
    {"CN2", "Group 2", "a toggle; switching one pad of the group on switches the others off",
     "CN2"},
    {"CN3", "Group 3",
     "a toggle in a group of its own; no controller button gives this mode: choose it in "
     "the pad's right-click menu, or give it in a scene",
     "CN3"},
    {"TRK", "Fixed 127", "sends 127 whatever the force of the hit; its light is left alone", "TRK"},
    {"FDB", "Lit by feedback",
     "lit and dark as your music software's notes say; plays only while lit, unless \"Pads in "
     "FDB-Mode always active\" is set in Config",
     "FDB"},
};
const ModeName* FindModeName(std::string_view shortForm);
