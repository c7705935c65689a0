#pragma once

#include "host/EngineRunner.h"
#include "host/MidiHost.h"
#include "host/SpscRing.h"
#include "host/jack/HostOptions.h"
#include "host/jack/PortPattern.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The MIDI host as JACK clients. The client "orvan" has controller_in, controller_out and
// daw_out; feedback from the music software comes in on "<orvan's name>-feedback:daw_in", a
// second client, so that Orvan is never part of a graph cycle: with the music software wired both
// ways the server runs orvan, then the music software, then the feedback client, and a pad's
// note reaches the music software in the pad's own cycle. Feedback is handled one cycle later.
//
// The engine outlives the clients: when the server goes away the host waits for it, and when it
// is back registers again, reconnects what was connected and goes on where the engine was.
//
// Threads:
// - process threads: processMain() runs the engine (EngineRunner) at the frames of its input;
//   processFeedback() hands daw_in's events to it through feedback_. Neither allocates, locks,
//   logs or makes a system call.
// - notification thread: server loss and graph changes, recorded for Poll.
// - window thread: everything else, including Poll, which connects appeared ports, follows the
//   server's going and coming, and raises the host's events.
// Whether a port's short name is one of the ports every Orvan has: how another Orvan is told.
bool IsOrvanPortName(std::string_view shortName);

class JackHost : public MidiHost {
public:
    enum Port { ControllerIn, ControllerOut, DawIn, DawOut, PortCount };

    // Attaches to the server and runs the engine in its cycles. Without one: throws a host error
    // naming the server, or, with waitForServer, starts waiting for it. The runner outlives the
    // host.
    JackHost(const HostOptions& options, EngineRunner& runner, bool waitForServer = false);
    // Ends the engine (every pulse in flight gets its note-off) and leaves the server. Leaving
    // waits for the server's answer: when that takes longer than kCloseBound, the action set
    // by OnCloseHung runs (the program cannot go on safely with clients half closed).
    ~JackHost() override;
    static void OnCloseHung(void (*action)()) { closeHung_ = action; }
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
    void Poll() override;
    DropCounts Drops() override;
    LinkStatus Link() override;
    ServerLoad Load() override;
    void SetControllerPorts(const std::string& pattern) override;
    void SetDawPorts(const std::string& pattern) override;
    void EndEngine() override;

    bool attached() const { return client_ != nullptr; }
    // Attached, and the server has not gone away: the clients may be asked things.
    bool live() const { return client_ && !shutDown_.load(); }
    std::string clientName() const { return clientName_; }
    std::string portName(Port port) const; // full name
    bool closeOnClientExit() const { return closeOnClientExit_; }

    static constexpr size_t kFeedbackRingBytes = 1 << 16;
    // Longer feedback events are dropped: a SysEx that long is dropped by the engine anyway.
    static constexpr size_t kMaxFeedbackEvent = 4096;
    // How often a lost or missing server is looked for.
    static constexpr std::chrono::milliseconds kRetry{250};
    static constexpr std::chrono::milliseconds kCloseBound{2000};

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
    // Attaching and leaving (host/jack/JackHost.cpp)
    void attach();
    void closeClients();
    void closeClientsWithin(std::chrono::milliseconds bound);
    void updateInput();
    void reportDrops();
    void followServer();
    void lookAtGraph();

    // Process side (host/jack/JackHostProcess.cpp)
    static int processMainThunk(jack_nframes_t nframes, void* self);
    static int processFeedbackThunk(jack_nframes_t nframes, void* self);
    int processMain(jack_nframes_t nframes);
    int processFeedback(jack_nframes_t nframes);

    // Notification thread
    static void shutdownThunk(jack_status_t code, const char* reason, void* self);
    static void lostThunk(void* self);
    static void registrationThunk(jack_port_id_t id, int registered, void* self);
    static void connectionThunk(jack_port_id_t a, jack_port_id_t b, int connect, void* self);
    static void clientThunk(const char* name, int registered, void* self);
    static int xrunThunk(void* self);
    void onPortRegistered(jack_port_id_t id);

    // The JACK graph (host/jack/JackGraph.cpp)
    jack_client_t* clientOf(Port port) const;
    bool isOwnPort(const std::string& name) const;
    std::vector<std::string> otherMidiPorts(unsigned long direction) const;
    std::vector<PortInfo> midiPorts() const;
    std::vector<std::string> connectionsOf(Port port) const;
    std::vector<std::string> connectionsOf(Port a, Port b) const;
    bool connectMatching(const std::string& name, int flags);
    void followController();
    void awaitNewGraph();
    void connectExisting();
    void handleAppearedPorts();
    void rememberConnections();
    void replaceSide(PortPattern& pattern, const std::string& text, const char* what, Port in,
                     Port out);
    std::vector<std::string> warnings(const std::vector<PortInfo>& ports) const;

    static inline void (*closeHung_)() = [] {
        std::fprintf(stderr, "orvan: the JACK server did not let Orvan's clients go\n");
        std::abort();
    };

    HostOptions options_;
    std::string clientName_;
    std::string feedbackName_;
    PortPattern controllerPattern_;
    PortPattern dawPattern_;
    EngineRunner& runner_;
    jack_client_t* client_ = nullptr;
    jack_client_t* feedbackClient_ = nullptr;
    std::array<jack_port_t*, PortCount> ports_{};
    uint32_t sampleRate_ = 0;
    uint32_t period_ = 0;

    // Process thread of the main client (and the window thread while no client runs)
    bool started_ = false;
    uint32_t lastFrame32_ = 0;
    Frame lastFrame_ = 0;
    Frame lastEnd_ = 0; // where the last cycle ended

    // Between the threads
    SpscRing feedback_{kFeedbackRingBytes};
    std::atomic<uint64_t> feedbackDropped_{0};
    std::atomic<bool> shutDown_{false};
    std::atomic<bool> graphChanged_{false};
    // Counted on the server's notification thread, read on the window's.
    std::atomic<uint64_t> xruns_{0};
    std::mutex appearedLock_; // the notification thread and the window thread only
    std::vector<Appeared> appeared_;

    // Window thread
    LinkStatus::State state_ = LinkStatus::State::Waiting;
    std::chrono::steady_clock::time_point nextTry_{};
    // Our port's short name and the peer port, for every connection there was.
    std::vector<std::pair<Port, std::string>> remembered_;
    // What controller_out was connected to when the graph was last looked at.
    std::vector<std::string> controllerPeers_;
    uint64_t lookAgainAfter_ = 0; // the runner's cycle count after which to look again; 0: none
    bool ended_ = false;          // EndEngine ran
    bool inputCapture_ = false;
    bool inputEvents_ = false;
    bool stopRaised_ = false;
    bool closeOnClientExit_ = false;
    DropCounts reportedDrops_;
    std::array<Listing, 4> listings_;
};
