#pragma once

#include "host/EngineRunner.h"
#include "host/MidiHost.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// What the recording host reports about itself.
struct RecordingHostSetup {
    std::string version = "Recording host 1.0";
    int32_t instance = 1;
    std::vector<std::string> sysIn, sysOut, openIn, openOut;
};

// An in-process host that records every operation, and runs the engine it is handed in cycles of
// 1 ms that the test drives. Input reaches the engine, like a real host's, only while input
// capture and input events are on. The runner is made with tap() as its tap, so that every
// message the engine sends is recorded in order among the host's operations.
class RecordingHost : public MidiHost, private MidiOut {
public:
    using Setup = RecordingHostSetup;
    static constexpr uint32_t kPeriod = 48; // frames: 1 ms at 48 kHz

    explicit RecordingHost(Setup setup = {});
    MidiOut* tap() { return this; }
    // The engine to run; before anything else is asked of the host.
    void drive(EngineRunner& runner) { runner_ = &runner; }
    EngineRunner& runner() { return *runner_; }
    // Releases the host as a real one does: the engine's ending runs first.
    ~RecordingHost() override;

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
    void Poll() override {}
    DropCounts Drops() override { return runner_->Drops(); }
    LinkStatus Link() override;
    void SetControllerPorts(const std::string& pattern) override;
    void SetDawPorts(const std::string& pattern) override;
    void EndEngine() override;

    // Input from the controller (SysEx text) or the music software, handled in the next cycle,
    // then every cycle until the engine is idle. Values that no MIDI byte can carry go to the
    // engine's handler directly.
    void raiseMidiInput(int32_t status, int32_t data1, int32_t data2);
    void raiseSysEx(const std::string& text);
    // The server goes (the link is lost) and comes back; as a real host does, the controller
    // it connects again is put back into native mode if that is on.
    void raiseStopInputRequest();
    void raiseReattached();
    // The action runs in the first cycle that begins while the engine waits (inside a pulse):
    // input it raises is handled in that cycle.
    void duringNextWait(std::function<void()> action);
    // The action runs in the cycle that begins ms milliseconds from now.
    void after(int ms, std::function<void()> action);

    // One cycle, with the input queued for it; then cycles until nothing waits or is queued.
    void cycle();
    void settle();

    // Every operation in call order, e.g. "HostInputCapture 1", "HostSendMessage -1 144 3 100".
    std::vector<std::string> calls;
    // What went out, in order: SysEx texts as sent, short messages as "90 03 64".
    std::vector<std::string> wire;
    // Called with each operation right after it is recorded.
    std::function<void(const std::string& call)> onCall;
    // The window's operation named here throws a host error when called (after being recorded).
    std::string failOn;

    int32_t inputCapture = 0;
    int32_t inputEvents = 0;
    LinkStatus link = attachedLink();
    bool* releasedFlag = nullptr; // set true when the host is destroyed

private:
    static LinkStatus attachedLink();
    struct Queued {
        EngineRunner::Source source;
        std::vector<uint8_t> bytes;
    };
    class Discard;

    void record(const std::string& call, const std::string& sent = {});
    void queue(EngineRunner::Source source, std::vector<uint8_t> bytes);
    std::string next(const std::vector<std::string>& list, size_t& cursor);
    void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) override;
    void HostSendSysEx(std::string_view text) override;

    Setup setup_;
    EngineRunner* runner_ = nullptr;
    Frame frame_ = 0;
    std::deque<Queued> queued_;
    std::vector<std::function<void()>> duringNextWait_;
    std::vector<std::pair<Frame, std::function<void()>>> timed_;
    bool inCycle_ = false;
    size_t sysIn_ = 0, sysOut_ = 0, openIn_ = 0, openOut_ = 0;
};
