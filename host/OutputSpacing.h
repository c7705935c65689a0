#pragma once

#include <cstdint>

// Places outgoing messages on the frame timeline of the process cycles. A message keeps at least
// the time distance to the one before that it had when it was written (so a pulsed note keeps its
// length on the wire); none is placed before the cycle being processed, and none before the one
// before it. A message written more than a second after the one before is not held back by it.
class OutputSpacing {
public:
    explicit OutputSpacing(uint32_t sampleRate = 48000) : rate_(sampleRate) {}

    // The frame offset in the cycle [cycleStart, cycleStart + nframes) for a message written at
    // `usecs`, or -1 when it belongs to a later cycle.
    int64_t offsetFor(uint64_t usecs, uint32_t cycleStart, uint32_t nframes) const;

    // The message written at `usecs` went out at this absolute frame.
    void placed(uint64_t usecs, uint32_t frame);

    static constexpr uint64_t kMaxHeldGapUsecs = 1'000'000;

private:
    uint32_t rate_;
    bool hasPrevious_ = false;
    uint64_t previousUsecs_ = 0;
    uint32_t previousFrame_ = 0;
};
