// Any values through the short-message input, a millisecond apart: twelve bytes a message
// (status, data 1 and data 2 as 32-bit integers), so values far outside MIDI's range are tried.
#include "EngineUnderFuzz.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ControllerEngine& m = EngineUnderFuzz(data, size);
    for (size_t at = 1; at + 12 <= size; at += 12) {
        int32_t values[3];
        std::memcpy(values, data + at, sizeof values);
        HostInput input;
        input.frame = m.Now() + 48;
        input.status = values[0];
        input.data1 = values[1];
        input.data2 = values[2];
        m.Deliver(input);
    }
    SettleAndCheck(m);
    return 0;
}
