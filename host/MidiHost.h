#pragma once

#include "host/EngineSnapshot.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// A host that could not be attached, or an operation of it that failed.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A MIDI port of another client, as the port pickers offer it.
struct PortInfo {
    std::string name; // "client:port"
    bool sends = false;
    bool physical = false;
    bool orvan = false; // a port of another Orvan
};

// The host's link to its server and to the controller and the music software, in words a user
// reads.
struct LinkStatus {
    enum class State { Attached, Lost, Waiting };
    State state = State::Waiting;
    std::string server;
    uint32_t sampleRate = 0;
    uint32_t period = 0;
    std::string client;
    // The ports sending into the controller's / music software's input, and those taking its
    // output.
    std::vector<std::string> controllerFrom, controllerTo, dawFrom, dawTo;
    std::string controllerPattern, dawPattern;
    // The MIDI ports of the other clients.
    std::vector<PortInfo> ports;
    std::vector<std::string> warnings;
};

// How the server copes: late cycles (xruns) since Orvan started, and its DSP load.
struct ServerLoad {
    uint64_t xruns = 0;
    float dspLoad = -1; // percent; below 0 when unknown (no server)
    bool operator==(const ServerLoad&) const = default;
};

// The MIDI routing host as the window sees it: what it tells about itself, the switches of its
// input and its link; the engine it runs is handed to it by its owner. Every operation is for
// the window's thread; the host's events are raised from Poll, on that thread.
class MidiHost {
public:
    struct Events {
        // The server went away: no more input, no more output.
        std::function<void()> StopInputRequest;
        // Ports or connections came or went, or the link changed.
        std::function<void()> GraphChanged;
        // The server came back and the host is attached again, its connections restored.
        std::function<void()> Reattached;
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
    // Raises the events that came since the last call.
    virtual void Poll() = 0;
    // Messages lost so far, by reason.
    virtual DropCounts Drops() = 0;

    virtual LinkStatus Link() = 0;
    // Asked of the server from the window's thread, never from the process thread.
    virtual ServerLoad Load() { return {}; }
    // Connects the controller's (the music software's) ports to the ports whose full names match
    // the pattern, now and whenever one appears, in place of what they were connected to; a
    // pattern that is no regular expression throws a host error.
    virtual void SetControllerPorts(const std::string& pattern) = 0;
    virtual void SetDawPorts(const std::string& pattern) = 0;
    // The ending: every pulse in flight ends with its note-off, then every note still sounding,
    // and they have left before this returns (as far as a server answers); nothing more is
    // handled after it. Releasing the host does it too, if it was not done.
    virtual void EndEngine() = 0;

    // Set once by the owner before input is switched on.
    void setEvents(Events events) { events_ = std::move(events); }

protected:
    Events events_;
};
