#pragma once

#include <cstdint>
#include <string_view>

// Where the engine's messages go: the host's two send operations. Called on the thread that runs
// the engine; implementations neither allocate nor block, and never fail: what cannot be sent is
// counted by the host.
class MidiOut {
public:
    virtual ~MidiOut() = default;
    // One short message; port is always -1: the host decides where it goes.
    virtual void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) = 0;
    // One SysEx message as hex byte pairs separated by blanks, either case, F0 first, F7 last.
    virtual void HostSendSysEx(std::string_view text) = 0;
};
