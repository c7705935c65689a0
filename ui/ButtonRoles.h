#pragma once

#include <string>

// What each of the 19 buttons does, for captions on screen and for words in the monitor.
struct ButtonRole {
    enum Kind { Mode, Bank, JogModifier, Note, KnobAssign };
    Kind kind = Mode;
    int number = 0;      // counted from 0 within its kind, in table order
    std::string caption; // on the controller: "TOGGLE", "BANK 2", "NOTE 1", ...
    std::string words;   // in a sentence: "TOGGLE button", "bank button 2", "note button 1", ...
};

// By button table index (engine/ButtonTable.h).
ButtonRole RoleOfButton(int button);

// Mode and bank buttons on screen hold with a click, until the next click.
bool Latches(int button);
