#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// Hands the newest value of T from one writing thread to one reading thread. Neither side waits,
// locks or allocates; the reader always gets a whole value, the newest one written.
template <typename T> class TripleBuffer {
public:
    // Writer: the slot to fill, then publish().
    T& back() { return slots_[back_]; }
    void publish() {
        const uint8_t previous =
            middle_.exchange(static_cast<uint8_t>(back_ | kFresh), std::memory_order_acq_rel);
        back_ = previous & kIndex;
    }

    // Reader: true, with the newest value in front(), when one was published since the last call.
    bool update() {
        if (!(middle_.load(std::memory_order_acquire) & kFresh))
            return false;
        const uint8_t previous = middle_.exchange(front_, std::memory_order_acq_rel);
        front_ = previous & kIndex;
        return true;
    }
    const T& front() const { return slots_[front_]; }

private:
    static constexpr uint8_t kIndex = 3;
    static constexpr uint8_t kFresh = 4;

    std::array<T, 3> slots_{};
    uint8_t back_ = 0;
    uint8_t front_ = 1;
    std::atomic<uint8_t> middle_{2};
};
