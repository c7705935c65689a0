#pragma once

#include <jack/jack.h>
#include <jack/transport.h>

#include <atomic>
#include <cstdint>
#include <string>

// A JACK timebase master of the bench's own at a fixed tempo in 4/4, 1920 ticks a beat: it fills
// bar, beat and tick from the transport frame alone (whole ticks, and unless told to give whole
// ticks only, as many masters do, the exact fraction in tick_double). Its process callback watches
// what every client reads in each rolling cycle: where transport frame 0 lies on the server's
// frame clock, and how far the bar, beat and tick read lie from the frame read with them.
class TimebaseMaster {
public:
    static constexpr int kBeatsPerBar = 4;
    static constexpr int kTicksPerBeat = 1920;

    TimebaseMaster(const std::string& server, const std::string& name, int beatsPerMinute,
                   bool wholeTicks);
    ~TimebaseMaster();
    TimebaseMaster(const TimebaseMaster&) = delete;
    TimebaseMaster& operator=(const TimebaseMaster&) = delete;

    // From transport frame 0.
    void start();
    bool rolling() const { return rollingCycles_.load() > 0; }

    // The server frame transport frame 0 fell on, from the first rolling cycle.
    uint32_t zeroFrame() const { return zero_.load(); }
    uint64_t rollingCycles() const { return rollingCycles_.load(); }
    // Rolling cycles that put transport frame 0 elsewhere than the first one did.
    uint64_t zeroMoves() const { return zeroMoves_.load(); }
    // The frame read in a cycle minus the frame its bar, beat and tick stand for: the least and
    // the most over the rolling cycles (0 and 0 when they always agree).
    int64_t lagMin() const { return lagMin_.load(); }
    int64_t lagMax() const { return lagMax_.load(); }

    // Bar, beat and tick at pos.frame.
    static void Fill(jack_position_t& pos, int beatsPerMinute, bool wholeTicks);

private:
    static int processThunk(jack_nframes_t nframes, void* self);
    static void timebaseThunk(jack_transport_state_t state, jack_nframes_t nframes,
                              jack_position_t* pos, int newPosition, void* self);
    void watch();

    jack_client_t* client_ = nullptr;
    int beatsPerMinute_;
    bool wholeTicks_;
    std::atomic<uint32_t> zero_{0};
    std::atomic<uint64_t> rollingCycles_{0};
    std::atomic<uint64_t> zeroMoves_{0};
    std::atomic<int64_t> lagMin_{0};
    std::atomic<int64_t> lagMax_{0};
};
