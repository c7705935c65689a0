#pragma once

#include "engine/MidiOut.h"

// Where the engine's messages go when nobody looks at them (fuzzing, throughput): counted only.
class NullOut : public MidiOut {
public:
    void HostSendMessage(int32_t, int32_t, int32_t, int32_t) override { ++sent; }
    void HostSendSysEx(std::string_view) override { ++sent; }

    long sent = 0;
};
