#pragma once

#include "host/MidiHost.h"

// A host that accepts everything and reports nothing, for fuzzing and throughput benchmarks.
class NullHost : public MidiHost {
public:
    std::string HostVersion() override { return "null"; }
    std::string HostSysMidiInFirst() override { return {}; }
    std::string HostSysMidiInNext() override { return {}; }
    std::string HostSysMidiOutFirst() override { return {}; }
    std::string HostSysMidiOutNext() override { return {}; }
    std::string HostOpenMidiInFirst() override { return {}; }
    std::string HostOpenMidiInNext() override { return {}; }
    std::string HostOpenMidiOutFirst() override { return {}; }
    std::string HostOpenMidiOutNext() override { return {}; }
    int32_t HostInstanceQuery() override { return 0; }
    int32_t HostInstanceNumber() override { return 1; }
    void HostCloseOnClientExit(int32_t) override {}
    void HostInputCapture(int32_t) override {}
    void HostInputEvents(int32_t) override {}
    void HostSendMessage(int32_t, int32_t, int32_t, int32_t) override { ++sent; }
    void HostSendSysEx(const std::string&) override { ++sent; }

    long sent = 0;
};
