#pragma once

#include <cstdint>

// Places outgoing messages on the frame timeline of the process cycles.
// - An answer to input (a message sent while that input was handled) is due a fixed distance
//   after the frame of the input that started its chain, so answers keep the timing of the
//   input; it never goes earlier.
// - Within one chain of handling (an input and all that runs inside its waits), and for messages
//   that answer no input, a message keeps at least the time distance to the one before that it
//   had when it was written (so a pulsed note keeps its length on the wire). The first answer of
//   a new chain only stays behind the one before, so one late cycle never delays later input.
// - None is placed before the cycle being processed, and none before the one before it. A
//   message written more than a second after the one before is not held back by it.
class OutputSpacing {
public:
    struct Message {
        uint64_t usecs = 0; // when it was written, on JACK's clock
        uint32_t chain = 0; // the chain of handling it answers; 0 for none
        uint32_t due = 0;   // for an answer: the frame it is due at
    };

    explicit OutputSpacing(uint32_t sampleRate = 48000) : rate_(sampleRate) {}

    // The frame offset in the cycle [cycleStart, cycleStart + nframes) for the message, or -1
    // when it belongs to a later cycle.
    int64_t offsetFor(const Message& message, uint32_t cycleStart, uint32_t nframes) const;

    // The message went out at this absolute frame.
    void placed(const Message& message, uint32_t frame);

    static constexpr uint64_t kMaxHeldGapUsecs = 1'000'000;

private:
    uint32_t rate_;
    bool hasPrevious_ = false;
    uint64_t previousUsecs_ = 0;
    uint32_t previousChain_ = 0;
    uint32_t previousFrame_ = 0;
};
