#pragma once

#include "engine/ControllerState.h"
#include "engine/FrameClock.h"

#include <cstdint>
#include <cstring>

// Messages lost, by reason.
struct DropCounts {
    uint64_t inputOversize = 0; // SysEx longer than the host takes
    uint64_t inputMerged = 0;   // a continuous control's waiting report replaced by a later one
    uint64_t inputHeld = 0;     // no room to wait, or left waiting at an ending
    uint64_t inputQueue = 0;    // no room on the way from the server's threads to the engine
    uint64_t outputFull = 0;    // no room in the server's buffer
    uint64_t outputInvalid = 0; // not valid MIDI (a value beyond 127)

    uint64_t total() const {
        return inputOversize + inputMerged + inputHeld + inputQueue + outputFull + outputInvalid;
    }
    bool operator==(const DropCounts&) const = default;
};

// The engine's state as the window sees it, taken at the end of every cycle.
struct EngineSnapshot {
    ControllerState state;
    uint64_t sequence = 0; // counts the snapshots taken
    Frame frame = 0;       // the engine's clock when it was taken
    int waitDepth = 0;
    int deepestWaitDepth = 0;
    uint64_t heldInput = 0;
    bool nativeMode = false;    // "Native Mode" was entered in this run
    uint32_t nativeEntries = 0; // how often
    bool ended = false;         // the ending ran: no note is left sounding, nothing is handled
};

// Whether two snapshots show the same, whatever their clocks: the window need not be drawn anew.
inline bool ShowsAlike(const EngineSnapshot& a, const EngineSnapshot& b) {
    return std::memcmp(&a.state, &b.state, sizeof a.state) == 0 && a.waitDepth == b.waitDepth &&
           a.deepestWaitDepth == b.deepestWaitDepth && a.heldInput == b.heldInput &&
           a.nativeMode == b.nativeMode && a.nativeEntries == b.nativeEntries && a.ended == b.ended;
}
