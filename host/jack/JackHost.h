#pragma once

#include "host/EngineRunner.h"
#include "host/MidiHost.h"
#include "host/SpscRing.h"
#include "host/jack/HostOptions.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <vector>

// The MIDI host as JACK clients. The client "orvan" has controller_in, controller_out and
// daw_out; feedback from the music software comes in on "<orvan's name>-feedback:daw_in", a
// second client, so that Orvan is never part of a graph cycle: with the music software wired both
// ways the server runs orvan, then the music software, then the feedback client, and a pad's
// note reaches the music software in the pad's own cycle. Feedback is handled one cycle later.
//
// Threads:
// - process threads: processMain() runs the engine (EngineRunner) at the frames of its input;
//   processFeedback() hands daw_in's events to it through feedback_. Neither allocates, locks,
//   logs or makes a system call.
// - notification thread: server loss and port registrations, recorded for Poll.
// - window thread: everything else, including Poll, which connects appeared ports and raises the
//   host's events.
class JackHost : public MidiHost {
public:
    enum Port { ControllerIn, ControllerOut, DawIn, DawOut, PortCount };

    // Attaches to the server; throws a host error naming the server when there is none.
    explicit JackHost(const HostOptions& options);
    // Ends the engine (every pulse in flight gets its note-off) and leaves the server.
    ~JackHost() override;
    JackHost(const JackHost&) = delete;
    JackHost& operator=(const JackHost&) = delete;

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
    EngineRunner& Engine() override { return *runner_; }
    void Poll() override;
    DropCounts Drops() override;

    std::string clientName() const { return clientName_; }
    std::string portName(Port port) const; // full name
    bool closeOnClientExit() const { return closeOnClientExit_; }
    uint32_t sampleRate() const { return sampleRate_; }

    static constexpr size_t kFeedbackRingBytes = 1 << 16;
    // Longer feedback events are dropped: a SysEx that long is dropped by the engine anyway.
    static constexpr size_t kMaxFeedbackEvent = 4096;

private:
    struct Listing {
        std::vector<std::string> names;
        size_t next = 0;
        std::string first(std::vector<std::string> fresh);
        std::string advance();
    };
    struct Appeared {
        std::string name;
        int flags;
    };
    // One record in feedback_: this header, then the event's bytes.
    struct FeedbackHeader {
        uint32_t frame; // the server's frame of the event
        uint16_t size;
    };

    // Process side (host/jack/JackHostProcess.cpp)
    static int processMainThunk(jack_nframes_t nframes, void* self);
    static int processFeedbackThunk(jack_nframes_t nframes, void* self);
    int processMain(jack_nframes_t nframes);
    int processFeedback(jack_nframes_t nframes);

    // Notification thread
    static void shutdownThunk(jack_status_t code, const char* reason, void* self);
    static void registrationThunk(jack_port_id_t id, int registered, void* self);
    void onPortRegistered(jack_port_id_t id);

    // The JACK graph (host/jack/JackGraph.cpp)
    jack_client_t* clientOf(Port port) const;
    jack_port_t* port(Port port) const { return ports_[port]; }
    bool isOwnPort(const std::string& name) const;
    std::vector<std::string> otherMidiPorts(unsigned long direction) const;
    std::vector<std::string> connectionsOf(Port a, Port b) const;
    bool connectMatching(const std::string& name, int flags, bool& connected);
    void awaitNewGraph();
    void connectExisting();
    void handleAppearedPorts();

    void updateInput();
    void reportDrops();
    void closeClients();

    jack_client_t* client_ = nullptr;
    jack_client_t* feedbackClient_ = nullptr;
    std::array<jack_port_t*, PortCount> ports_{};
    std::string requestedName_;
    std::string clientName_;
    std::string feedbackName_;
    std::optional<std::regex> controllerPattern_;
    std::optional<std::regex> dawPattern_;
    uint32_t sampleRate_ = 48000;
    std::unique_ptr<EngineRunner> runner_;

    // Process thread of the main client
    bool started_ = false;
    uint32_t lastFrame32_ = 0;
    Frame lastFrame_ = 0;

    // Between the threads
    SpscRing feedback_{kFeedbackRingBytes};
    std::atomic<uint64_t> feedbackDropped_{0};
    std::atomic<bool> shutDown_{false};
    std::mutex appearedLock_; // the notification thread and the window thread only
    std::vector<Appeared> appeared_;

    // Window thread
    bool inputCapture_ = false;
    bool inputEvents_ = false;
    bool stopRaised_ = false;
    bool closeOnClientExit_ = false;
    DropCounts reportedDrops_;
    std::array<Listing, 4> listings_;
};
