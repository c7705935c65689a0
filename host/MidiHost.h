#pragma once

#include "host/EngineSnapshot.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

class EngineRunner;

// A host that could not be attached, or an operation of it that failed.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The MIDI routing host as the window sees it: what it tells about itself, the switches of its
// input, and the engine it runs. Every operation is for the window's thread; the host's events
// are raised from Poll, on that thread.
class MidiHost {
public:
    struct Events {
        // The server went away: no more input, no more output.
        std::function<void()> StopInputRequest;
        // A port matching the controller pattern appeared again and was connected (a replug).
        std::function<void()> ControllerReturned;
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

    // The engine behind the host: commands to it, snapshots of it.
    virtual EngineRunner& Engine() = 0;
    // Raises the events that came since the last call.
    virtual void Poll() = 0;
    // Messages lost so far, by reason.
    virtual DropCounts Drops() = 0;

    // Set once by the owner before input is switched on.
    void setEvents(Events events) { events_ = std::move(events); }

protected:
    Events events_;
};
