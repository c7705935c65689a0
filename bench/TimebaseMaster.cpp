#include "TimebaseMaster.h"

#include "MidiClients.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

TimebaseMaster::TimebaseMaster(const std::string& server, const std::string& name,
                               int beatsPerMinute, bool wholeTicks)
    : client_(OpenTestClient(server, name)), beatsPerMinute_(beatsPerMinute),
      wholeTicks_(wholeTicks) {
    jack_set_process_callback(client_, &TimebaseMaster::processThunk, this);
    if (jack_set_timebase_callback(client_, 0, &TimebaseMaster::timebaseThunk, this) != 0 ||
        jack_activate(client_) != 0) {
        jack_client_close(client_);
        throw std::runtime_error("cannot start the timebase master " + name);
    }
}

TimebaseMaster::~TimebaseMaster() {
    jack_transport_stop(client_);
    jack_release_timebase(client_);
    jack_client_close(client_);
}

void TimebaseMaster::start() {
    jack_transport_locate(client_, 0);
    jack_transport_start(client_);
}

void TimebaseMaster::Fill(jack_position_t& pos, int beatsPerMinute, bool wholeTicks) {
    // Ticks since frame 0 are frame * ticks a beat * BPM / (60 * rate): whole ticks and the
    // remainder in integers, so nothing is lost.
    const uint64_t num =
        uint64_t{pos.frame} * kTicksPerBeat * static_cast<uint64_t>(beatsPerMinute);
    const uint64_t den = uint64_t{60} * pos.frame_rate;
    const uint64_t ticks = num / den;
    const uint64_t beats = ticks / kTicksPerBeat;
    pos.bar = static_cast<int32_t>(beats / kBeatsPerBar + 1);
    pos.beat = static_cast<int32_t>(beats % kBeatsPerBar + 1);
    pos.tick = static_cast<int32_t>(ticks % kTicksPerBeat);
    pos.tick_double = pos.tick + static_cast<double>(num % den) / static_cast<double>(den);
    pos.bar_start_tick = static_cast<double>((pos.bar - 1) * kBeatsPerBar) * kTicksPerBeat;
    pos.beats_per_bar = kBeatsPerBar;
    pos.beat_type = 4;
    pos.ticks_per_beat = kTicksPerBeat;
    pos.beats_per_minute = beatsPerMinute;
    pos.valid = static_cast<jack_position_bits_t>(pos.valid | JackPositionBBT |
                                                  (wholeTicks ? 0 : JackTickDouble));
}

void TimebaseMaster::timebaseThunk(jack_transport_state_t, jack_nframes_t, jack_position_t* pos,
                                   int, void* self) {
    const auto* master = static_cast<TimebaseMaster*>(self);
    Fill(*pos, master->beatsPerMinute_, master->wholeTicks_);
}

int TimebaseMaster::processThunk(jack_nframes_t, void* self) {
    static_cast<TimebaseMaster*>(self)->watch();
    return 0;
}

// Only this thread writes the figures.
void TimebaseMaster::watch() {
    jack_position_t pos{};
    if (jack_transport_query(client_, &pos) != JackTransportRolling ||
        !(pos.valid & JackPositionBBT))
        return;
    const uint32_t zero = jack_last_frame_time(client_) - pos.frame;
    const double tick = (pos.valid & JackTickDouble) ? pos.tick_double : pos.tick;
    const double beats = (pos.bar - 1) * pos.beats_per_bar + (pos.beat - 1) + tick / kTicksPerBeat;
    const int64_t lag = static_cast<int64_t>(pos.frame) -
                        std::llround(beats * 60.0 * pos.frame_rate / pos.beats_per_minute);
    const uint64_t cycles = rollingCycles_.load(std::memory_order_relaxed);
    if (cycles == 0) {
        zero_.store(zero);
        lagMin_.store(lag);
        lagMax_.store(lag);
    } else {
        if (zero != zero_.load(std::memory_order_relaxed))
            zeroMoves_.fetch_add(1);
        lagMin_.store(std::min(lag, lagMin_.load(std::memory_order_relaxed)));
        lagMax_.store(std::max(lag, lagMax_.load(std::memory_order_relaxed)));
    }
    rollingCycles_.store(cycles + 1);
}
