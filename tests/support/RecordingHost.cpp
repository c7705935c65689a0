#include "support/RecordingHost.h"

#include "protocol/HexText.h"

RecordingHost::RecordingHost(Setup setup) : setup_(std::move(setup)) {}

RecordingHost::~RecordingHost() {
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
}
void RecordingHost::HostInputEvents(int32_t value) {
    record("HostInputEvents " + std::to_string(value));
    inputEvents = value;
}
void RecordingHost::HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) {
    record("HostSendMessage " + std::to_string(port) + " " + std::to_string(status) + " " +
               std::to_string(data1) + " " + std::to_string(data2),
           HexByte(status) + " " + HexByte(data1) + " " + HexByte(data2));
}
void RecordingHost::HostSendSysEx(const std::string& text) {
    record("HostSendSysEx " + text, text);
}

void RecordingHost::raiseMidiInput(int32_t status, int32_t data1, int32_t data2) {
    if (inputCapture && inputEvents && events_.MidiInput)
        events_.MidiInput(0, 0, status, data1, data2);
}
void RecordingHost::raiseSysEx(const std::string& text) {
    if (inputCapture && inputEvents && events_.SysExInput)
        events_.SysExInput(text);
}
void RecordingHost::raiseStopInputRequest() {
    if (inputCapture && inputEvents && events_.StopInputRequest)
        events_.StopInputRequest();
}
