// Any values through the short-message input path: twelve bytes a message (status, data 1 and
// data 2 as 32-bit integers), so values far outside MIDI's range are tried too.
#include "EngineUnderFuzz.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    frmMain& m = EngineUnderFuzz(data, size);
    for (size_t at = 1; at + 12 <= size; at += 12) {
        int32_t values[3];
        std::memcpy(values, data + at, sizeof values);
        m.RunEvent([&] { m.mWire_MidiInput(0, 0, values[0], values[1], values[2]); });
        RequireStillRunning(m);
    }
    return 0;
}
