#include "Peer.h"
#include "MidiClients.h"
#include "Wait.h"

#include <jack/midiport.h>

#include <stdexcept>

Peer::Peer(const std::string& server, const std::string& name, const std::vector<PortSpec>& ports)
    : specs_(ports) {
    if (ports.size() > kMaxPorts)
        throw std::invalid_argument("too many ports");
    client_ = OpenTestClient(server, name);
    name_ = jack_get_client_name(client_);
    jack_set_process_callback(client_, &Peer::processThunk, this);
    jack_activate(client_);
    for (size_t i = 0; i < specs_.size(); ++i) {
        ports_[i] = jack_port_register(client_, specs_[i].name.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                       specs_[i].sends ? JackPortIsOutput : JackPortIsInput, 0);
        if (!ports_[i])
            throw std::runtime_error("cannot register " + specs_[i].name);
        livePorts_.store(i + 1);
    }
}

Peer::~Peer() {
    jack_client_close(client_);
}

int Peer::indexOf(const std::string& shortName) const {
    for (size_t i = 0; i < specs_.size(); ++i) {
        if (specs_[i].name == shortName)
            return static_cast<int>(i);
    }
    throw std::invalid_argument("no port " + shortName);
}

void Peer::send(const std::vector<Event>& events) {
    std::vector<std::pair<size_t, Bytes>> batch;
    for (const auto& [port, bytes] : events)
        batch.emplace_back(static_cast<size_t>(indexOf(port)), bytes);
    std::lock_guard<std::mutex> lock(lock_);
    pending_.push_back(std::move(batch));
}

std::vector<Peer::Received> Peer::received(const std::string& port) const {
    const int index = indexOf(port);
    std::lock_guard<std::mutex> lock(lock_);
    return received_[index];
}

std::vector<Bytes> Peer::receivedBytes(const std::string& port) const {
    std::vector<Bytes> bytes;
    for (const Received& r : received(port))
        bytes.push_back(r.bytes);
    return bytes;
}

bool Peer::settle(int cycles) {
    const bool sent = WaitUntil([this] {
        std::lock_guard<std::mutex> lock(lock_);
        return pending_.empty();
    });
    const uint64_t from = cycles_.load();
    return sent && WaitUntil([&] { return cycles_.load() >= from + cycles; });
}

int Peer::processThunk(jack_nframes_t nframes, void* self) {
    return static_cast<Peer*>(self)->process(nframes);
}

int Peer::process(jack_nframes_t nframes) {
    const jack_nframes_t cycleStart = jack_last_frame_time(client_);
    const size_t live = livePorts_.load();
    std::lock_guard<std::mutex> lock(lock_);
    for (size_t i = 0; i < live; ++i) {
        void* buffer = jack_port_get_buffer(ports_[i], nframes);
        if (specs_[i].sends) {
            jack_midi_clear_buffer(buffer);
            continue;
        }
        const uint32_t count = jack_midi_get_event_count(buffer);
        for (uint32_t e = 0; e < count; ++e) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, e) == 0)
                received_[i].push_back(
                    {Bytes(event.buffer, event.buffer + event.size), cycleStart + event.time});
        }
    }
    if (!pending_.empty()) {
        jack_nframes_t offset = 0;
        for (const auto& [index, bytes] : pending_.front()) {
            if (index < live)
                jack_midi_event_write(jack_port_get_buffer(ports_[index], nframes), offset++,
                                      bytes.data(), bytes.size());
        }
        pending_.pop_front();
    }
    cycles_.fetch_add(1);
    return 0;
}
