#include "engine/HeldInput.h"

#include <algorithm>
#include <cstring>

namespace {
// How far back a report looks for its control's waiting one: past the few continuous controls.
constexpr std::size_t kMergeReach = 8;
} // namespace

HeldInput::Pushed HeldInput::push(const HostInput& input, HeldKind kind) {
    if (!continuous(kind)) {
        const std::size_t room = kMessages - (kind == HeldKind::Release ? 0 : kReleaseRoom);
        if (count_ >= room || !append(input, kind))
            return Pushed::Full;
        mergeable_ = 0;
        return Pushed::Kept;
    }
    if (Entry* waiting = waitingOf(kind, input.text.size())) {
        if (kind == HeldKind::JogLeft || kind == HeldKind::JogRight) {
            waiting->steps = std::min<uint16_t>(waiting->steps + 1, kMaxJogSteps);
        } else {
            std::memcpy(text_ + waiting->textAt % kTextBytes, input.text.data(), input.text.size());
            waiting->input.frame = input.frame;
            waiting->input.status = input.status;
            waiting->input.data2 = input.data2;
        }
        return Pushed::Merged;
    }
    if (count_ >= kMessages - kReleaseRoom || !append(input, kind))
        return Pushed::Full;
    ++mergeable_;
    return Pushed::Kept;
}

HeldInput::Entry* HeldInput::waitingOf(HeldKind kind, std::size_t textSize) {
    for (std::size_t back = 1; back <= std::min(mergeable_, kMergeReach); ++back) {
        Entry& entry = entries_[(first_ + count_ - back) % kMessages];
        if (entry.kind == kind && entry.input.text.size() == textSize)
            return &entry;
    }
    return nullptr;
}

bool HeldInput::append(const HostInput& input, HeldKind kind) {
    if (input.text.size() > kTextBytes)
        return false;
    std::size_t at = textWrite_;
    const std::size_t offset = at % kTextBytes;
    if (offset + input.text.size() > kTextBytes)
        at += kTextBytes - offset; // a text never wraps: it starts again at the beginning
    if (at + input.text.size() - textRead_ > kTextBytes)
        return false;
    std::memcpy(text_ + at % kTextBytes, input.text.data(), input.text.size());
    textWrite_ = at + input.text.size();
    entries_[(first_ + count_) % kMessages] = {input, at, kind, 1};
    ++count_;
    return true;
}

HostInput HeldInput::front() const {
    const Entry& entry = entries_[first_];
    HostInput input = entry.input;
    input.text = std::string_view(text_ + entry.textAt % kTextBytes, input.text.size());
    return input;
}

void HeldInput::take() {
    if (count_ == 0)
        return;
    Entry& entry = entries_[first_];
    if (entry.steps > 1) {
        --entry.steps;
        return;
    }
    first_ = (first_ + 1) % kMessages;
    --count_;
    mergeable_ = std::min(mergeable_, count_);
    textRead_ = count_ > 0 ? entries_[first_].textAt : textWrite_;
}

void HeldInput::clear() {
    first_ = count_ = mergeable_ = 0;
    textRead_ = textWrite_;
}
