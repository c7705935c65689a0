#pragma once

#include "host/MidiHost.h"

#include <functional>
#include <string>
#include <vector>

// What the recording host reports about itself.
struct RecordingHostSetup {
    std::string version = "Recording host 1.0";
    int32_t instance = 1;
    std::vector<std::string> sysIn, sysOut, openIn, openOut;
};

// An in-process host that records every operation and can raise the host's three events.
// Events are delivered, like a real host's, only while input capture and input events are on.
class RecordingHost : public MidiHost {
public:
    using Setup = RecordingHostSetup;

    explicit RecordingHost(Setup setup = {});

    std::string HostVersion() override;
    std::string HostSysMidiInFirst() override;
    std::string HostSysMidiInNext() override;
    std::string HostSysMidiOutFirst() override;
    std::string HostSysMidiOutNext() override;
    std::string HostOpenMidiInFirst() override;
    std::string HostOpenMidiInNext() override;
    std::string HostOpenMidiOutFirst() override;
    std::string HostOpenMidiOutNext() override;
    int32_t HostInstanceQuery() override;
    int32_t HostInstanceNumber() override;
    void HostCloseOnClientExit(int32_t value) override;
    void HostInputCapture(int32_t value) override;
    void HostInputEvents(int32_t value) override;
    void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) override;
    void HostSendSysEx(const std::string& text) override;

    void raiseMidiInput(int32_t status, int32_t data1, int32_t data2);
    void raiseSysEx(const std::string& text);
    void raiseStopInputRequest();

    // Every operation in call order, e.g. "HostInputCapture 1", "HostSendMessage -1 144 3 100".
    std::vector<std::string> calls;
    // What went out, in order: SysEx texts as sent, short messages as "90 03 64".
    std::vector<std::string> wire;
    // Called with each operation right after it is recorded (to raise events mid-sequence).
    std::function<void(const std::string& call)> onCall;
    // The operation named here throws a host error when called (after being recorded).
    std::string failOn;

    int32_t inputCapture = 0;
    int32_t inputEvents = 0;
    bool* releasedFlag = nullptr; // set true when the host is destroyed

    ~RecordingHost() override;

private:
    void record(const std::string& call, const std::string& sent = {});
    std::string next(const std::vector<std::string>& list, size_t& cursor);

    Setup setup_;
    size_t sysIn_ = 0, sysOut_ = 0, openIn_ = 0, openOut_ = 0;
};
