#include "host/OutputSpacing.h"

#include <algorithm>

int64_t OutputSpacing::offsetFor(const Message& message, uint32_t cycleStart,
                                 uint32_t nframes) const {
    int64_t offset = 0;
    if (hasPrevious_) {
        // Frame counters wrap; the distance between two recent frames fits 32 signed bits.
        const int64_t previous = static_cast<int32_t>(previousFrame_ - cycleStart);
        const uint64_t since = message.usecs - previousUsecs_;
        const bool spaced = message.chain == 0 || message.chain == previousChain_;
        if (spaced && message.usecs >= previousUsecs_ && since <= kMaxHeldGapUsecs)
            offset = previous + static_cast<int64_t>(since * rate_ / 1'000'000);
        else if (previous >= 0 && previous < static_cast<int64_t>(nframes))
            offset = previous; // the one before went out in this very cycle: stay behind it
    }
    if (message.chain != 0)
        offset = std::max<int64_t>(offset, static_cast<int32_t>(message.due - cycleStart));
    if (offset < 0)
        offset = 0;
    return offset < static_cast<int64_t>(nframes) ? offset : -1;
}

void OutputSpacing::placed(const Message& message, uint32_t frame) {
    hasPrevious_ = true;
    previousUsecs_ = message.usecs;
    previousChain_ = message.chain;
    previousFrame_ = frame;
}
