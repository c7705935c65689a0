#pragma once

#include "Bytes.h"

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A JACK client that plays the controller and the music software: it sends events on its
// sending ports and records what reaches its receiving ports.
class Peer {
public:
    struct PortSpec {
        std::string name;
        bool sends;
    };
    struct Received {
        Bytes bytes;
        uint32_t frame; // absolute frame time
    };
    using Event = std::pair<std::string, Bytes>; // port, bytes

    // The client is active before its ports exist, so a port is live from the moment it appears.
    Peer(const std::string& server, const std::string& name, const std::vector<PortSpec>& ports);
    ~Peer();

    std::string port(const std::string& shortName) const { return name_ + ":" + shortName; }
    const std::string& name() const { return name_; }
    jack_client_t* client() const { return client_; }

    // These events leave together in one cycle, in this order.
    void send(const std::vector<Event>& events);
    void send(const std::string& port, const Bytes& bytes) { send({{port, bytes}}); }

    std::vector<Received> received(const std::string& port) const;
    std::vector<Bytes> receivedBytes(const std::string& port) const;
    // Waits until all that was sent has left and `cycles` more cycles have run, so that every
    // client downstream has seen it.
    bool settle(int cycles = 3);

private:
    static constexpr size_t kMaxPorts = 8;
    static int processThunk(jack_nframes_t nframes, void* self);
    int process(jack_nframes_t nframes);
    int indexOf(const std::string& shortName) const;

    std::string name_;
    jack_client_t* client_ = nullptr;
    std::vector<PortSpec> specs_;
    std::array<jack_port_t*, kMaxPorts> ports_{};
    std::atomic<size_t> livePorts_{0};
    std::atomic<uint64_t> cycles_{0};

    mutable std::mutex lock_; // test code: the process callback may take it
    std::deque<std::vector<std::pair<size_t, Bytes>>> pending_;
    std::array<std::vector<Received>, kMaxPorts> received_;
};
