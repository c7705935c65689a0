#include "MidiClients.h"
#include "Wait.h"

#include <jack/midiport.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

jack_client_t* OpenTestClient(const std::string& server, const std::string& name) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(
        name.c_str(),
        static_cast<jack_options_t>(JackNoStartServer | JackServerName | JackUseExactName), &status,
        server.c_str());
    if (!client)
        throw std::runtime_error("test client " + name + " cannot attach to " + server);
    return client;
}

bool ConnectPorts(jack_client_t* client, const std::string& from, const std::string& to) {
    const int result = jack_connect(client, from.c_str(), to.c_str());
    return result == 0 || result == EEXIST;
}

ScheduledSender::ScheduledSender(const std::string& server, const std::string& name)
    : client_(OpenTestClient(server, name)) {
    port_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client_, &ScheduledSender::processThunk, this);
    if (!port_ || jack_activate(client_) != 0) {
        jack_client_close(client_);
        throw std::runtime_error("cannot start the sender " + name);
    }
}

ScheduledSender::~ScheduledSender() {
    jack_client_close(client_);
}

std::string ScheduledSender::port() const {
    return std::string(jack_get_client_name(client_)) + ":out";
}

void ScheduledSender::play(std::vector<TimedMessage> schedule) {
    while (state_.load() == Playing)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    schedule_ = std::move(schedule);
    frames_.assign(schedule_.size(), 0);
    sent_.store(0);
    started_ = false;
    state_.store(Playing, std::memory_order_release);
}

int ScheduledSender::processThunk(jack_nframes_t nframes, void* self) {
    return static_cast<ScheduledSender*>(self)->process(nframes);
}

int ScheduledSender::process(jack_nframes_t nframes) {
    void* buffer = jack_port_get_buffer(port_, nframes);
    jack_midi_clear_buffer(buffer);
    if (state_.load(std::memory_order_acquire) != Playing)
        return 0;
    const jack_nframes_t cycleStart = jack_last_frame_time(client_);
    if (!started_) {
        base_ = cycleStart;
        started_ = true;
    }
    size_t next = sent_.load(std::memory_order_relaxed);
    while (next < schedule_.size()) {
        const TimedMessage& message = schedule_[next];
        // A cycle that came late sends what was due at its start.
        const int32_t offset =
            std::max<int32_t>(0, static_cast<int32_t>(base_ + message.frame - cycleStart));
        if (offset >= static_cast<int32_t>(nframes))
            break;
        if (jack_midi_event_write(buffer, static_cast<jack_nframes_t>(offset), message.bytes.data(),
                                  message.bytes.size()) != 0)
            break; // this cycle's buffer is full
        frames_[next] = cycleStart + static_cast<jack_nframes_t>(offset);
        sent_.store(++next, std::memory_order_release);
    }
    if (next == schedule_.size())
        state_.store(Done, std::memory_order_release); // the last touch of the list
    return 0;
}

Recorder::Recorder(const std::string& server, const std::string& name,
                   const std::vector<std::string>& ports, size_t capacity, bool echo)
    : client_(OpenTestClient(server, name)), events_(capacity) {
    if (ports.size() > portCounts_.size())
        throw std::invalid_argument("too many ports");
    for (const std::string& port : ports) {
        ports_.push_back(
            jack_port_register(client_, port.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0));
        if (!ports_.back()) {
            jack_client_close(client_);
            throw std::runtime_error("cannot register " + port);
        }
    }
    if (echo)
        echo_ = jack_port_register(client_, "echo", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client_, &Recorder::processThunk, this);
    if ((echo && !echo_) || jack_activate(client_) != 0) {
        jack_client_close(client_);
        throw std::runtime_error("cannot start the recorder " + name);
    }
}

std::string Recorder::echoPort() const {
    return jack_port_name(echo_);
}

Recorder::~Recorder() {
    jack_client_close(client_);
}

std::string Recorder::port(size_t index) const {
    return jack_port_name(ports_[index]);
}

std::vector<Recorder::Event> Recorder::events(size_t port) const {
    const size_t n = count_.load(std::memory_order_acquire);
    std::vector<Event> found;
    for (size_t i = 0; i < n; ++i) {
        if (events_[i].port == port)
            found.push_back(events_[i]);
    }
    return found;
}

int Recorder::processThunk(jack_nframes_t nframes, void* self) {
    return static_cast<Recorder*>(self)->process(nframes);
}

int Recorder::process(jack_nframes_t nframes) {
    const jack_nframes_t cycleStart = jack_last_frame_time(client_);
    size_t n = count_.load(std::memory_order_relaxed);
    void* echo = echo_ ? jack_port_get_buffer(echo_, nframes) : nullptr;
    if (echo)
        jack_midi_clear_buffer(echo);
    for (size_t p = 0; p < ports_.size(); ++p) {
        void* buffer = jack_port_get_buffer(ports_[p], nframes);
        const uint32_t events = jack_midi_get_event_count(buffer);
        for (uint32_t e = 0; e < events; ++e) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, e) != 0)
                continue;
            if (echo && p == 0)
                jack_midi_event_write(echo, event.time, event.buffer, event.size);
            if (n == events_.size()) {
                overflow_.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            Event& slot = events_[n++];
            slot.frame = cycleStart + event.time;
            slot.port = static_cast<uint8_t>(p);
            slot.size = static_cast<uint8_t>(std::min(event.size, kKept));
            std::copy_n(event.buffer, slot.size, slot.bytes.begin());
            portCounts_[p].fetch_add(1, std::memory_order_relaxed);
        }
    }
    count_.store(n, std::memory_order_release);
    return 0;
}

size_t PlayAndWait(ScheduledSender& sender, std::vector<TimedMessage> schedule,
                   const Recorder& recorder, size_t port, size_t answers) {
    constexpr auto kQuiet = std::chrono::seconds(3);
    const size_t before = recorder.count(port);
    sender.play(std::move(schedule));
    WaitUntil([&] { return sender.done(); }, std::chrono::minutes(5));
    size_t seen = 0;
    auto lastChange = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            const size_t now = recorder.count(port) - before;
            if (now != seen) {
                seen = now;
                lastChange = std::chrono::steady_clock::now();
            }
            return now >= answers || std::chrono::steady_clock::now() - lastChange > kQuiet;
        },
        std::chrono::minutes(5));
    PumpEvents();
    return before;
}

std::vector<Recorder::Event> EventsFrom(const Recorder& recorder, size_t port, size_t first) {
    std::vector<Recorder::Event> events = recorder.events(port);
    events.erase(events.begin(), events.begin() + static_cast<long>(first));
    return events;
}

std::vector<Recorder::Event> PlayAndCollect(ScheduledSender& sender,
                                            std::vector<TimedMessage> schedule,
                                            const Recorder& recorder, size_t port, size_t answers) {
    const size_t before = PlayAndWait(sender, std::move(schedule), recorder, port, answers);
    return EventsFrom(recorder, port, before);
}
