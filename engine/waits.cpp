#include "engine/ControllerEngine.h"

#include <algorithm>

// Handlers that wait form chains: the input that started one, and everything it awaits down to
// the wait itself. Chains nest like the calls of a dispatching wait: only the topmost one goes on
// when its wait ends; a chain below whose wait ended meanwhile goes on as soon as those above it
// are done, so nested pulses end innermost first.

FrameArena& CoroutineArena(ControllerEngine& engine) noexcept {
    return engine.Arena();
}

void ControllerEngine::suspend(std::coroutine_handle<> handler, Frame frames,
                               PulsedNote pulseNote) {
    pendingWait_ = {handler, clock_.now + frames, pulseNote};
}

void ControllerEngine::Run(Task chain) {
    const PendingWait wait = std::exchange(pendingWait_, {});
    if (chain.done())
        return;
    Chain& top = chains_[chainCount_++];
    top = {std::move(chain), wait.waiting, wait.resumeAt, wait.pulseNote};
    deepestWaitDepth_ = std::max(deepestWaitDepth_, chainCount_);
}

std::optional<Frame> ControllerEngine::NextDue() const {
    std::optional<Frame> next;
    const auto consider = [&next](Frame frame) {
        if (!next || frame < *next)
            next = frame;
    };
    if (tmrDisplay.isActive())
        consider(tmrDisplay.due());
    if (tmrTap.isActive())
        consider(tmrTap.due());
    if (const std::optional<Frame> repeat = repeatDue())
        consider(*repeat);
    if (chainCount_ > 0)
        consider(chains_[chainCount_ - 1].resumeAt);
    return next;
}

void ControllerEngine::AdvanceTo(Frame frame) {
    while (const std::optional<Frame> next = NextDue()) {
        if (*next >= frame)
            break;
        clock_.now = std::max(clock_.now, *next);
        // A timer due at the same frame as a wait goes first, as a window timer did.
        if (tmrDisplay.isActive() && tmrDisplay.due() == *next) {
            tmrDisplay.fired();
            tmrDisplay_Timer();
        } else if (tmrTap.isActive() && tmrTap.due() == *next) {
            tmrTap.fired();
            tmrTap_Timer();
        } else if (repeatDue() == *next) {
            runRepeat(*next);
        } else {
            resumeTop();
        }
    }
    clock_.now = std::max(clock_.now, frame);
}

void ControllerEngine::resumeTop() {
    Chain& top = chains_[chainCount_ - 1];
    const std::coroutine_handle<> waiting = std::exchange(top.waiting, {});
    waiting.resume();
    if (!top.task.done()) {
        const PendingWait wait = std::exchange(pendingWait_, {});
        top.waiting = wait.waiting;
        top.resumeAt = wait.resumeAt;
        top.pulseNote = wait.pulseNote;
        return;
    }
    top.task = Task();
    --chainCount_;
    runHeld();
}

void ControllerEngine::Deliver(const HostInput& input) {
    AdvanceTo(input.frame);
    if (chainCount_ >= kMaxWaitDepth || !held_.empty()) {
        switch (held_.push(input, HeldKindOf(input))) {
        case HeldInput::Pushed::Kept:
            break;
        case HeldInput::Pushed::Merged:
            ++mergedInput_;
            break;
        case HeldInput::Pushed::Full:
            ++droppedInput_;
            break;
        }
        return;
    }
    start(input);
}

void ControllerEngine::start(const HostInput& input) {
    if (!input.sysEx) {
        const auto ms = static_cast<int32_t>(input.frame * 1000 / clock_.sampleRate);
        mWire_MidiInput(ms, 0, input.status, input.data1, input.data2);
        return;
    }
    FixedText<kMaxSysExText>& text = texts_[chainCount_];
    text = input.text;
    Run(mWire_SysExInput(text));
}

// Held input runs as soon as the depth allows, oldest first, a jog report once for each step.
void ControllerEngine::runHeld() {
    while (!held_.empty() && chainCount_ < kMaxWaitDepth) {
        const HostInput input = held_.front();
        // The text moves to the chain's own storage before the held copy is let go.
        if (input.sysEx)
            texts_[chainCount_] = input.text;
        HostInput moved = input;
        moved.text = texts_[chainCount_];
        held_.take();
        start(moved);
    }
}

void ControllerEngine::FinishWaits() {
    while (chainCount_ > 0)
        resumeTop();
}

void ControllerEngine::EndChains() {
    droppedInput_ += held_.size();
    held_.clear();
    while (chainCount_ > 0) {
        Chain& top = chains_[--chainCount_];
        if (top.pulseNote.note >= 0)
            SendPulsed(top.pulseNote, 0);
        top.task = Task();
    }
}
