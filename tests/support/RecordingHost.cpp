#include "support/RecordingHost.h"

#include "engine/HexText.h"
#include "host/MidiBytes.h"

// The cycle's output itself is not looked at: the tap records every message as it was sent.
class RecordingHost::Discard final : public EngineRunner::CycleOutput {
public:
    bool write(EngineRunner::Destination, uint32_t, const uint8_t*, size_t) override {
        return true;
    }
};

RecordingHost::RecordingHost(Setup setup) : setup_(std::move(setup)) {}

RecordingHost::~RecordingHost() {
    EndEngine();
    if (releasedFlag)
        *releasedFlag = true;
}

void RecordingHost::record(const std::string& call, const std::string& sent) {
    calls.push_back(call);
    if (!sent.empty())
        wire.push_back(sent);
    if (onCall)
        onCall(call);
    const std::string op = call.substr(0, call.find(' '));
    if (!failOn.empty() && op == failOn)
        throw HostError(op + " failed");
}

std::string RecordingHost::next(const std::vector<std::string>& list, size_t& cursor) {
    return cursor < list.size() ? list[cursor++] : std::string();
}

std::string RecordingHost::HostVersion() {
    record("HostVersion");
    return setup_.version;
}
std::string RecordingHost::HostSysMidiInFirst() {
    record("HostSysMidiInFirst");
    sysIn_ = 0;
    return next(setup_.sysIn, sysIn_);
}
std::string RecordingHost::HostSysMidiInNext() {
    record("HostSysMidiInNext");
    return next(setup_.sysIn, sysIn_);
}
std::string RecordingHost::HostSysMidiOutFirst() {
    record("HostSysMidiOutFirst");
    sysOut_ = 0;
    return next(setup_.sysOut, sysOut_);
}
std::string RecordingHost::HostSysMidiOutNext() {
    record("HostSysMidiOutNext");
    return next(setup_.sysOut, sysOut_);
}
std::string RecordingHost::HostOpenMidiInFirst() {
    record("HostOpenMidiInFirst");
    openIn_ = 0;
    return next(setup_.openIn, openIn_);
}
std::string RecordingHost::HostOpenMidiInNext() {
    record("HostOpenMidiInNext");
    return next(setup_.openIn, openIn_);
}
std::string RecordingHost::HostOpenMidiOutFirst() {
    record("HostOpenMidiOutFirst");
    openOut_ = 0;
    return next(setup_.openOut, openOut_);
}
std::string RecordingHost::HostOpenMidiOutNext() {
    record("HostOpenMidiOutNext");
    return next(setup_.openOut, openOut_);
}
int32_t RecordingHost::HostInstanceQuery() {
    record("HostInstanceQuery");
    return 0;
}
int32_t RecordingHost::HostInstanceNumber() {
    record("HostInstanceNumber");
    return setup_.instance;
}
void RecordingHost::HostCloseOnClientExit(int32_t value) {
    record("HostCloseOnClientExit " + std::to_string(value));
}
void RecordingHost::HostInputCapture(int32_t value) {
    record("HostInputCapture " + std::to_string(value));
    inputCapture = value;
    runner_->SetInputOn(inputCapture && inputEvents);
}
void RecordingHost::HostInputEvents(int32_t value) {
    record("HostInputEvents " + std::to_string(value));
    inputEvents = value;
    runner_->SetInputOn(inputCapture && inputEvents);
}

void RecordingHost::HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) {
    record("HostSendMessage " + std::to_string(port) + " " + std::to_string(status) + " " +
               std::to_string(data1) + " " + std::to_string(data2),
           HexByte(status).str() + " " + HexByte(data1).str() + " " + HexByte(data2).str());
}
void RecordingHost::HostSendSysEx(std::string_view text) {
    record("HostSendSysEx " + std::string(text), std::string(text));
}

void RecordingHost::queue(EngineRunner::Source source, std::vector<uint8_t> bytes) {
    if (link.state != LinkStatus::State::Attached)
        return; // no server: nothing arrives
    queued_.push_back({source, std::move(bytes)});
    if (!inCycle_)
        settle();
}

void RecordingHost::raiseMidiInput(int32_t status, int32_t data1, int32_t data2) {
    uint8_t bytes[3];
    const size_t size = ShortMessageBytes(status, data1, data2, bytes);
    if (size > 0)
        queue(EngineRunner::FromDaw, std::vector<uint8_t>(bytes, bytes + size));
    else if (inputCapture && inputEvents)
        runner_->engine().mWire_MidiInput(0, 0, status, data1, data2);
}

void RecordingHost::raiseSysEx(const std::string& text) {
    std::vector<uint8_t> bytes(text.size());
    bytes.resize(SysExBytes(text, bytes.data(), bytes.size()));
    if (!bytes.empty())
        queue(EngineRunner::FromController, std::move(bytes));
}

void RecordingHost::duringNextWait(std::function<void()> action) {
    duringNextWait_.push_back(std::move(action));
}

void RecordingHost::after(int ms, std::function<void()> action) {
    timed_.emplace_back(frame_ + static_cast<Frame>(ms) * kPeriod, std::move(action));
}

LinkStatus RecordingHost::attachedLink() {
    LinkStatus attached;
    attached.state = LinkStatus::State::Attached;
    attached.server = "recording";
    attached.sampleRate = 48000;
    attached.period = kPeriod;
    attached.client = "orvan";
    return attached;
}

// The link as the test set it, with the set-up's ports.
LinkStatus RecordingHost::Link() {
    LinkStatus shown = link;
    for (const std::string& name : setup_.sysIn)
        shown.ports.push_back({name, true, false});
    for (const std::string& name : setup_.sysOut)
        shown.ports.push_back({name, false, false});
    return shown;
}

void RecordingHost::SetControllerPorts(const std::string& pattern) {
    record("SetControllerPorts " + pattern);
    link.controllerPattern = pattern;
}

void RecordingHost::SetDawPorts(const std::string& pattern) {
    record("SetDawPorts " + pattern);
    link.dawPattern = pattern;
}

void RecordingHost::EndEngine() {
    runner_->PostEnd();
    cycle();
}

void RecordingHost::raiseStopInputRequest() {
    link.state = LinkStatus::State::Lost;
    if (inputCapture && inputEvents && events_.StopInputRequest)
        events_.StopInputRequest();
}

void RecordingHost::raiseReattached() {
    link.state = LinkStatus::State::Attached;
    runner_->HoldUntilLinked();
    runner_->Linked();
    runner_->PostResendNativeState();
    if (events_.Reattached)
        events_.Reattached();
}

void RecordingHost::cycle() {
    Discard output;
    inCycle_ = true;
    runner_->BeginCycle(frame_, kPeriod, output);
    std::vector<std::function<void()>> actions;
    if (runner_->engine().WaitDepth() > 0)
        actions.swap(duringNextWait_);
    for (auto it = timed_.begin(); it != timed_.end();) {
        if (it->first > frame_) {
            ++it;
            continue;
        }
        actions.push_back(std::move(it->second));
        it = timed_.erase(it);
    }
    for (const auto& action : actions)
        action();
    for (const Queued& input : queued_)
        runner_->Input(input.source, frame_, input.bytes.data(), input.bytes.size());
    queued_.clear();
    runner_->EndCycle();
    inCycle_ = false;
    frame_ += kPeriod;
}

void RecordingHost::settle() {
    if (link.state != LinkStatus::State::Attached)
        return; // no server, no cycles
    const ControllerEngine& engine = runner_->engine();
    do
        cycle();
    while (engine.WaitDepth() > 0 || engine.HeldInputCount() > 0 || !queued_.empty() ||
           !timed_.empty());
}
