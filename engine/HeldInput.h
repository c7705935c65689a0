#pragma once

#include "engine/HostInput.h"

#include <array>
#include <cstddef>

// Input that waits its turn, in arrival order, in fixed storage: at most kMessages messages and
// kTextBytes of SysEx text.
class HeldInput {
public:
    static constexpr std::size_t kMessages = 4096;
    static constexpr std::size_t kTextBytes = 128 * 1024;

    // Copies the input in; false (and nothing kept) when it does not fit.
    bool push(const HostInput& input);
    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    // The oldest input; its text stays valid until pop.
    HostInput front() const;
    void pop();
    void clear();

private:
    struct Entry {
        HostInput input; // its text is at textAt in text_
        std::size_t textAt;
    };

    std::array<Entry, kMessages> entries_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    // Text is kept in one piece; positions count up for ever and wrap into text_.
    char text_[kTextBytes];
    std::size_t textRead_ = 0;
    std::size_t textWrite_ = 0;
};
