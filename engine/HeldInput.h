#pragma once

#include "engine/HostInput.h"

#include <array>
#include <cstddef>
#include <cstdint>

// What waiting does to an input: reports of one continuous control (a knob, the jog wheel in one
// direction, an XY-pad axis) that wait together merge into the latest one, a jog wheel's steps
// counted; releases have room kept for them; everything else waits its turn.
enum class HeldKind : uint8_t { Press, Release, Knob1, Knob2, JogLeft, JogRight, XYPadX, XYPadY };

// Input that waits its turn, in arrival order, in fixed storage: at most kMessages messages and
// kTextBytes of SysEx text. A continuous control's report merges into a waiting one of the same
// control when no other input came between them but other continuous controls' reports, so
// nothing that cannot wait ever waits behind more than one report of each control.
class HeldInput {
public:
    static constexpr std::size_t kMessages = 4096;
    static constexpr std::size_t kTextBytes = 128 * 1024;
    // Room only releases may take: a hit that was played always gets its release.
    static constexpr std::size_t kReleaseRoom = 256;
    // Jog-wheel steps one waiting report stands for, at most: each is a pulse that everything
    // behind it waits for.
    static constexpr uint16_t kMaxJogSteps = 3;

    enum class Pushed { Kept, Merged, Full };
    // Copies the input in, or merges it into a waiting report of its control (a jog step that
    // finds its waiting report at the bound merges into it without a trace); Full (and nothing
    // kept) when it does not fit.
    Pushed push(const HostInput& input, HeldKind kind);
    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    // The oldest input; its text stays valid until take.
    HostInput front() const;
    // Lets go of the oldest input, or of one of the steps it stands for.
    void take();
    void clear();

private:
    struct Entry {
        HostInput input; // its text is at textAt in text_
        std::size_t textAt;
        HeldKind kind;
        uint16_t steps; // jog-wheel steps this report stands for
    };
    static bool continuous(HeldKind kind) { return kind >= HeldKind::Knob1; }
    Entry* waitingOf(HeldKind kind, std::size_t textSize);
    bool append(const HostInput& input, HeldKind kind);

    std::array<Entry, kMessages> entries_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    // The newest entries that are continuous reports: those a new one may merge into.
    std::size_t mergeable_ = 0;
    // Text is kept in one piece; positions count up for ever and wrap into text_.
    char text_[kTextBytes];
    std::size_t textRead_ = 0;
    std::size_t textWrite_ = 0;
};
