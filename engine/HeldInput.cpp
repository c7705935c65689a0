#include "engine/HeldInput.h"

#include <cstring>

bool HeldInput::push(const HostInput& input) {
    if (count_ == kMessages || input.text.size() > kTextBytes)
        return false;
    std::size_t at = textWrite_;
    const std::size_t offset = at % kTextBytes;
    if (offset + input.text.size() > kTextBytes)
        at += kTextBytes - offset; // a text never wraps: it starts again at the beginning
    if (at + input.text.size() - textRead_ > kTextBytes)
        return false;
    std::memcpy(text_ + at % kTextBytes, input.text.data(), input.text.size());
    textWrite_ = at + input.text.size();
    entries_[(first_ + count_) % kMessages] = {input, at};
    ++count_;
    return true;
}

HostInput HeldInput::front() const {
    const Entry& entry = entries_[first_];
    HostInput input = entry.input;
    input.text = std::string_view(text_ + entry.textAt % kTextBytes, input.text.size());
    return input;
}

void HeldInput::pop() {
    if (count_ == 0)
        return;
    first_ = (first_ + 1) % kMessages;
    --count_;
    textRead_ = count_ > 0 ? entries_[first_].textAt : textWrite_;
}

void HeldInput::clear() {
    first_ = count_ = 0;
    textRead_ = textWrite_;
}
