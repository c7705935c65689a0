#include "host/frmMain.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

// Host input is handled in arrival order. Waits dispatch pending events, so input may run nested
// inside an earlier handler's wait; beyond kMaxWaitDepth nested waits it is held back and runs at
// the next dispatch of a shallower wait, or when the outermost wait ends. Only then does a
// returning wait run held input, else each held handler would sit on the stack of the one before.

void frmMain::queueHostInput(std::function<void()> input) {
    // Input faster than pulses can end would otherwise pile up here without limit.
    if (pendingInput_.size() >= kMaxHeldInput) {
        ++droppedInput_;
        return;
    }
    pendingInput_.push_back(std::move(input));
    drainHostInput();
}

void frmMain::drainHostInput() {
    while (!pendingInput_.empty() && waitDepth_ < kMaxWaitDepth && !bEnding_ && !bUnloaded_) {
        std::function<void()> input = std::move(pendingInput_.front());
        pendingInput_.pop_front();
        RunEvent(input);
    }
}

void frmMain::SleepAndDispatch(int32_t passes) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
    };
    {
        Depth depth(waitDepth_);
        deepestWaitDepth_ = std::max(deepestWaitDepth_, waitDepth_);
        // Each pass ends 1 ms after the one before: a late wake-up shortens the next sleep
        // instead of lengthening the wait, so a pulse lasts what it should on a busy machine too.
        const auto start = std::chrono::steady_clock::now();
        for (int32_t pass = 0; pass < passes; ++pass) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(pass + 1));
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            drainHostInput();
            if (bEnding_)
                throw HostError("Orvan is ending");
        }
    }
    // Input still held when the outermost wait ends would otherwise wait for the next event.
    if (waitDepth_ == 0)
        drainHostInput();
}
