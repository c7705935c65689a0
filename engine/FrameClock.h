#pragma once

#include <cstdint>

// Time in the engine is the server's frame count: every answer, wait and timer is placed at an
// exact frame.
using Frame = uint64_t;

struct FrameClock {
    Frame now = 0;
    uint32_t sampleRate = 48000;

    // Frames in ms milliseconds, rounded up: a wait never ends early.
    Frame framesIn(int64_t ms) const {
        return ms <= 0 ? 0 : (static_cast<Frame>(ms) * sampleRate + 999) / 1000;
    }
};

// A timer on the frame clock that fires every interval until stopped, as the window timers did.
class FrameTimer {
public:
    explicit FrameTimer(const FrameClock& clock) : clock_(clock) {}

    void setInterval(int ms) { interval_ = ms; }
    int interval() const { return interval_; }
    // Starts, or starts again, a whole interval from now.
    void start() {
        active_ = true;
        due_ = clock_.now + clock_.framesIn(interval_);
    }
    void stop() { active_ = false; }
    bool isActive() const { return active_; }
    Frame due() const { return due_; }
    // The engine fires the timer: the next period begins.
    void fired() { due_ += clock_.framesIn(interval_ > 0 ? interval_ : 1); }

private:
    const FrameClock& clock_;
    int interval_ = 0;
    bool active_ = false;
    Frame due_ = 0;
};
