#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

// A failing host operation. Nothing between the operation and the event handler that started the
// chain catches it; that handler reports it and ends the program.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The MIDI routing host: every MIDI byte Orvan sends or receives passes through it. Its three
// events are delivered on the GUI thread, and only while input events are switched on.
class MidiHost {
public:
    struct Events {
        std::function<void(int32_t nTimestamp, int32_t port, int32_t Status, int32_t data1,
                           int32_t data2)>
            MidiInput;
        std::function<void(const std::string& bstrSysEx)> SysExInput;
        std::function<void()> StopInputRequest;
    };

    virtual ~MidiHost() = default;

    virtual std::string HostVersion() = 0;
    virtual std::string HostSysMidiInFirst() = 0;
    virtual std::string HostSysMidiInNext() = 0;
    virtual std::string HostSysMidiOutFirst() = 0;
    virtual std::string HostSysMidiOutNext() = 0;
    virtual std::string HostOpenMidiInFirst() = 0;
    virtual std::string HostOpenMidiInNext() = 0;
    virtual std::string HostOpenMidiOutFirst() = 0;
    virtual std::string HostOpenMidiOutNext() = 0;
    virtual int32_t HostInstanceQuery() = 0;
    virtual int32_t HostInstanceNumber() = 0;
    virtual void HostCloseOnClientExit(int32_t value) = 0;
    virtual void HostInputCapture(int32_t value) = 0;
    virtual void HostInputEvents(int32_t value) = 0;
    virtual void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) = 0;
    virtual void HostSendSysEx(const std::string& text) = 0;

    // Set once by the owner before input is switched on.
    void setEvents(Events events) { events_ = std::move(events); }

protected:
    Events events_;
};
