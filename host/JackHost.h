#pragma once

#include "host/HostOptions.h"
#include "host/MidiAssembler.h"
#include "host/MidiHost.h"
#include "host/OutputSpacing.h"
#include "host/SpscRing.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <vector>

class QSocketNotifier;

// The MIDI host as a JACK client with four MIDI ports: controller_in and controller_out for the
// controller, daw_in and daw_out for the music software. SysEx goes out on controller_out, short
// messages on daw_out; whatever arrives on either input is delivered.
//
// Threads and what each one owns:
// - GUI thread (the one that built the host): every MidiHost operation, the wake-up notifier,
//   delivery of the events, connecting ports. It writes outRing_ and reads inRing_; what it
//   writes while it delivers an input is stamped with the frame of the outermost input being
//   handled (answering_), so that the process thread places answers a fixed distance after it.
// - JACK process thread: process() only. It reads outRing_, writes inRing_, and alone touches
//   assemblers_, spacing_ and wasCapturing_. It never allocates, locks, logs or blocks; it wakes
//   the GUI thread with a write to the non-blocking eventfd wakeFd_.
// - JACK notification thread: shutdownThunk() and onPortRegistered(). They set shutDown_, append to
//   appeared_ under appearedLock_ (this thread is not real-time) and write to wakeFd_.
// Shared between threads otherwise: the atomics capture_, shutDown_, cycles_ and the drop counters.
class JackHost : public MidiHost {
public:
    // Attaches to the server; throws a host error naming the server when there is none.
    explicit JackHost(const HostOptions& options);
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
    void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) override;
    void HostSendSysEx(const std::string& text) override;

    // Called on the GUI thread when, after start-up, controller_out was connected to a newly
    // appeared port matching the controller pattern (a replugged controller).
    void setControllerReturned(std::function<void()> callback);

    std::string clientName() const { return clientName_; }
    std::string portName(int port) const; // full name of one of the ports below
    bool closeOnClientExit() const { return closeOnClientExit_; }
    uint64_t droppedOutput() const { return droppedOutput_.load(); }
    uint64_t droppedInput() const { return droppedInput_.load(); }

    enum Port { ControllerIn, ControllerOut, DawIn, DawOut, PortCount };

    static constexpr size_t kRingBytes = 1 << 16;

private:
    struct Listing {
        std::vector<std::string> names;
        size_t next = 0;
        std::string first(std::vector<std::string> fresh);
        std::string advance();
    };
    // One record in outRing_: this header, then the message's bytes.
    struct OutHeader {
        uint8_t port;
        uint16_t size;
        uint64_t usecs;      // when the message was written, on JACK's clock
        uint32_t chain;      // the chain of handling it answers; 0 for none
        uint32_t inputFrame; // for an answer: the frame of the input being handled
    };
    // The input being handled on the GUI thread, for stamping what is sent meanwhile.
    struct Answering {
        uint32_t chain = 0; // 0: no input is being handled
        uint32_t frame = 0;
    };
    // One record in inRing_: this header, then the message's bytes.
    struct InHeader {
        uint8_t port; // 0: controller_in, 1: daw_in
        uint8_t sysEx;
        uint16_t size;
        uint32_t frame;
    };
    struct Appeared {
        std::string name;
        int flags;
    };

    // JACK callbacks (process side in host/JackHostProcess.cpp)
    static int processThunk(jack_nframes_t nframes, void* self);
    static void shutdownThunk(jack_status_t code, const char* reason, void* self);
    static void registrationThunk(jack_port_id_t id, int registered, void* self);
    int process(jack_nframes_t nframes);
    void readInput(jack_nframes_t nframes, jack_nframes_t cycleStart);
    void writeOutput(jack_nframes_t nframes, jack_nframes_t cycleStart);
    void onPortRegistered(jack_port_id_t id);
    void wake();

    // GUI side
    void onWake();
    void deliverInput(const std::shared_ptr<bool>& alive);
    void reportDrops();
    void enqueue(Port port, const uint8_t* bytes, size_t size);
    void closeClient();

    // The JACK graph (host/JackGraph.cpp)
    std::vector<std::string> otherMidiPorts(unsigned long direction) const;
    std::vector<std::string> connectionsOf(Port a, Port b) const;
    bool connectMatching(const std::string& name, int flags, bool& connected);
    void awaitNewGraph();
    void connectExisting();
    void handleAppearedPorts(const std::shared_ptr<bool>& alive);
    bool isOwnPort(const std::string& name) const;

    jack_client_t* client_ = nullptr;
    std::array<jack_port_t*, PortCount> ports_{};
    std::string requestedName_;
    std::string clientName_;
    std::optional<std::regex> controllerPattern_;
    std::optional<std::regex> dawPattern_;
    uint32_t sampleRate_ = 48000;
    jack_nframes_t startFrame_ = 0;

    int wakeFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    SpscRing outRing_{kRingBytes};
    SpscRing inRing_{kRingBytes};
    std::array<MidiAssembler, 2> assemblers_;
    OutputSpacing spacing_;
    bool wasCapturing_ = false;

    std::atomic<uint64_t> cycles_{0};
    std::atomic<bool> capture_{false};
    std::atomic<bool> shutDown_{false};
    std::atomic<uint64_t> droppedOutput_{0};
    std::atomic<uint64_t> droppedInput_{0};
    uint64_t reportedInputDrops_ = 0;

    std::mutex appearedLock_;
    std::vector<Appeared> appeared_;

    Answering answering_;
    uint32_t lastChain_ = 0;
    bool inputEvents_ = false;
    bool stopRaised_ = false;
    bool closeOnClientExit_ = false;
    std::function<void()> controllerReturned_;
    std::array<Listing, 4> listings_;
};
