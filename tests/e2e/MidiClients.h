#pragma once

#include "Bytes.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// A JACK client of the tests' own with the exact name given; throws when the server refuses it.
jack_client_t* OpenTestClient(const std::string& server, const std::string& name);

// A message to send `frame` frames after the sender started playing.
struct TimedMessage {
    uint32_t frame;
    Bytes bytes;
};

// A JACK client with one sending port "out" that plays a list of messages at exact frames. The
// process callback only reads the list and writes the frames it used: no lock, no allocation.
class ScheduledSender {
public:
    ScheduledSender(const std::string& server, const std::string& name);
    ~ScheduledSender();
    ScheduledSender(const ScheduledSender&) = delete;
    ScheduledSender& operator=(const ScheduledSender&) = delete;

    jack_client_t* client() const { return client_; }
    std::string port() const;

    // Starts playing from the next cycle on; a list that is still playing is replaced only
    // after it ended. Frames must not decrease.
    void play(std::vector<TimedMessage> schedule);
    bool done() const { return state_.load() != Playing; }
    size_t sent() const { return sent_.load(); }
    // The absolute frame message i went out at (i < sent()).
    uint32_t sentFrame(size_t i) const { return frames_[i]; }

private:
    enum State { Idle, Playing, Done };
    static int processThunk(jack_nframes_t nframes, void* self);
    int process(jack_nframes_t nframes);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::vector<TimedMessage> schedule_;
    std::vector<uint32_t> frames_;
    bool started_ = false; // process thread only, while playing
    uint32_t base_ = 0;
    std::atomic<size_t> sent_{0};
    std::atomic<int> state_{Idle};
};

// A JACK client with receiving ports that records every event with its absolute frame into room
// set aside beforehand; what does not fit is counted, not recorded.
class Recorder {
public:
    struct Event {
        uint32_t frame;
        uint8_t port;
        uint8_t size; // bytes kept (at most kKept)
        std::array<uint8_t, 30> bytes;
        Bytes message() const { return Bytes(bytes.begin(), bytes.begin() + size); }
    };
    static constexpr size_t kKept = 30;

    // With echo, it also plays the music software wired both ways: whatever comes on its first
    // port goes out again at once on its port "echo".
    Recorder(const std::string& server, const std::string& name,
             const std::vector<std::string>& ports, size_t capacity, bool echo = false);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::string port(size_t index) const;
    std::string echoPort() const;
    size_t count() const { return count_.load(); }
    size_t count(size_t port) const { return portCounts_[port].load(); }
    uint64_t overflow() const { return overflow_.load(); }
    // The events recorded on one port so far, in the order they arrived.
    std::vector<Event> events(size_t port) const;

private:
    static int processThunk(jack_nframes_t nframes, void* self);
    int process(jack_nframes_t nframes);

    jack_client_t* client_ = nullptr;
    std::vector<jack_port_t*> ports_;
    jack_port_t* echo_ = nullptr;
    std::vector<Event> events_;
    std::atomic<size_t> count_{0};
    std::array<std::atomic<size_t>, 8> portCounts_{};
    std::atomic<uint64_t> overflow_{0};
};

// Connects two ports by full name; true when they are (or already were) connected.
bool ConnectPorts(jack_client_t* client, const std::string& from, const std::string& to);

// Plays the schedule, then waits until `answers` more events came on the recorder's port, or none
// came for a few seconds. Returns the number of events the port had before.
size_t PlayAndWait(ScheduledSender& sender, std::vector<TimedMessage> schedule,
                   const Recorder& recorder, size_t port, size_t answers);
// The same, returning the events that came meanwhile.
std::vector<Recorder::Event> PlayAndCollect(ScheduledSender& sender,
                                            std::vector<TimedMessage> schedule,
                                            const Recorder& recorder, size_t port, size_t answers);
// The events of a port from the index on.
std::vector<Recorder::Event> EventsFrom(const Recorder& recorder, size_t port, size_t first);
