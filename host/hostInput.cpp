#include "host/frmMain.h"

#include <QCoreApplication>
#include <QThread>

// Host input is handled in arrival order. Waits dispatch pending events, so input may run nested
// inside an earlier handler's wait; beyond kMaxWaitDepth nested waits it is held back and runs at
// the next dispatch of a shallower wait. A returning wait never runs held input itself, else each
// held handler would sit on the stack of the one before it.

void frmMain::queueHostInput(std::function<void()> input) {
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
        for (int32_t pass = 0; pass < passes; ++pass) {
            QThread::msleep(1);
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
