#pragma once

#include "engine/ControllerEngine.h"
#include "engine/MidiOut.h"

// Where the engine's messages go when nobody looks at them (fuzzing, throughput): counted only.
class NullOut : public MidiOut {
public:
    void HostSendMessage(int32_t, int32_t, int32_t, int32_t) override { ++sent; }
    void HostSendSysEx(std::string_view) override { ++sent; }

    long sent = 0;
};

// One engine for the whole program, in native mode, its messages discarded.
inline ControllerEngine& DiscardingEngineInNativeMode() {
    static NullOut out;
    static ControllerEngine* engine = [] {
        auto* e = new ControllerEngine(out);
        e->Run(e->btnInitNativeMode_Click());
        e->AdvanceTo(e->Now() + 48000); // the bank's pulse is over
        return e;
    }();
    return *engine;
}
