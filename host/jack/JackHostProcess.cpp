#include "host/jack/JackHost.h"

#include <jack/midiport.h>
#include <jack/transport.h>

#include <algorithm>
#include <optional>

// Everything here runs in the server's process callbacks: ring buffers, the engine and the
// port buffers only; no allocation, lock, log or system call.

namespace {
// The engine's output, straight into this cycle's port buffers.
class PortBuffers final : public EngineRunner::CycleOutput {
public:
    PortBuffers(void* controller, void* daw) : buffers_{controller, daw} {
        jack_midi_clear_buffer(controller);
        jack_midi_clear_buffer(daw);
    }
    bool write(EngineRunner::Destination to, uint32_t offset, const uint8_t* bytes,
               size_t size) override {
        jack_midi_data_t* slot = jack_midi_event_reserve(buffers_[to], offset, size);
        if (!slot)
            return false;
        std::copy(bytes, bytes + size, slot);
        return true;
    }

private:
    void* buffers_[2];
};
// Where a rolling timebase master says the music is at the cycle's start; otherwise stopped.
TransportPosition transportAt(jack_client_t* client, Frame cycleStart) {
    jack_position_t pos{};
    TransportPosition p;
    p.rolling = jack_transport_query(client, &pos) == JackTransportRolling &&
                (pos.valid & JackPositionBBT) && pos.ticks_per_beat > 0 &&
                pos.beats_per_minute > 0 && pos.frame_rate > 0;
    if (!p.rolling)
        return p;
    p.bar = pos.bar;
    p.beat = pos.beat;
    p.tick = (pos.valid & JackTickDouble) ? pos.tick_double : pos.tick;
    p.ticksPerBeat = pos.ticks_per_beat;
    p.beatsPerBar = pos.beats_per_bar > 0 ? pos.beats_per_bar : 4;
    p.beatsPerMinute = pos.beats_per_minute;
    p.frameRate = pos.frame_rate;
    const Frame offset = (pos.valid & JackBBTFrameOffset) ? pos.bbt_offset : 0;
    p.frame = cycleStart - std::min(offset, cycleStart);
    return p;
}
} // namespace

int JackHost::processMainThunk(jack_nframes_t nframes, void* self) {
    return static_cast<JackHost*>(self)->processMain(nframes);
}

int JackHost::processFeedbackThunk(jack_nframes_t nframes, void* self) {
    return static_cast<JackHost*>(self)->processFeedback(nframes);
}

// The feedback client hands daw_in's events over with their frames; the engine takes them in
// its next cycle.
int JackHost::processFeedback(jack_nframes_t nframes) {
    void* buffer = jack_port_get_buffer(ports_[DawIn], nframes);
    const uint32_t cycleStart = jack_last_frame_time(feedbackClient_);
    const uint32_t count = jack_midi_get_event_count(buffer);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0)
            continue;
        const FeedbackHeader header{cycleStart + event.time, static_cast<uint16_t>(event.size)};
        if (event.size > kMaxFeedbackEvent ||
            !feedback_.write(&header, sizeof header, event.buffer, event.size))
            feedbackDropped_.fetch_add(1, std::memory_order_relaxed);
    }
    return 0;
}

int JackHost::processMain(jack_nframes_t nframes) {
    // The server's 32-bit frame counter, extended so that it never wraps; after a new attach the
    // engine's clock goes on where it stopped.
    const uint32_t frame32 = jack_last_frame_time(client_);
    lastFrame_ =
        started_ ? lastFrame_ + (frame32 - lastFrame32_) : std::max<Frame>(lastEnd_, frame32);
    lastFrame32_ = frame32;
    lastEnd_ = lastFrame_ + nframes;
    started_ = true;
    const Frame cycleStart = lastFrame_;

    PortBuffers output(jack_port_get_buffer(ports_[ControllerOut], nframes),
                       jack_port_get_buffer(ports_[DawOut], nframes));
    EngineRunner& runner = runner_;
    runner.Transport(transportAt(client_, cycleStart));
    runner.BeginCycle(cycleStart, nframes, output);

    // The controller's events and the feedback handed over, merged in frame order; feedback
    // from an earlier cycle counts as arriving at the start of this one.
    void* controllerIn = jack_port_get_buffer(ports_[ControllerIn], nframes);
    const uint32_t count = jack_midi_get_event_count(controllerIn);
    uint32_t next = 0;
    jack_midi_event_t event{};
    bool haveEvent = count > 0 && jack_midi_event_get(&event, controllerIn, 0) == 0;
    FeedbackHeader header{};
    uint8_t bytes[kMaxFeedbackEvent];
    // Feedback handed over early belongs to a later cycle.
    const auto feedbackOffset = [&]() -> std::optional<uint32_t> {
        if (!feedback_.peek(&header, sizeof header))
            return std::nullopt;
        const int32_t offset = std::max(static_cast<int32_t>(header.frame - frame32), 0);
        return offset < static_cast<int32_t>(nframes) ? std::optional<uint32_t>(offset)
                                                      : std::nullopt;
    };
    std::optional<uint32_t> feedbackAt = feedbackOffset();
    while (haveEvent || feedbackAt) {
        if (haveEvent && (!feedbackAt || event.time <= *feedbackAt)) {
            runner.Input(EngineRunner::FromController, cycleStart + event.time, event.buffer,
                         event.size);
            haveEvent = ++next < count && jack_midi_event_get(&event, controllerIn, next) == 0;
        } else {
            feedback_.peek(bytes, header.size, sizeof header);
            feedback_.skip(sizeof header + header.size);
            runner.Input(EngineRunner::FromDaw, cycleStart + *feedbackAt, bytes, header.size);
            feedbackAt = feedbackOffset();
        }
    }
    runner.EndCycle();
    return 0;
}
