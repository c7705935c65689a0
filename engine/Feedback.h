#pragma once

#include "engine/ControllerState.h"
#include "engine/UCase.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Feedback from the music software: a message that carries a pad's own number sets that pad's
// state when it is an "FDB" pad (a note-off counts as value 0). A pad without a mapping answers
// to a note with its bank's number on any channel; a mapped pad to its own note or controller on
// its own channel. Nothing else is feedback: not a program, pressure or pitch bend.
struct FeedbackTarget {
    int16_t bank;
    int32_t pad;
    int32_t value;
};

// Whether a pad of this mode takes feedback.
inline bool TakesFeedback(std::string_view mode) {
    return UCase(mode) == "FDB";
}

// Calls f(target) for every pad the message addresses, bank by bank. Widened, so that no host
// value can overflow.
template <class F>
void ForEachFeedbackTarget(const ControllerState& s, int32_t status, int32_t data1, int32_t data2,
                           F&& f) {
    const int32_t type = status & 0xF0;
    if (status < 0x80 || status > 0xEF || (type != 0x80 && type != 0x90 && type != 0xB0))
        return;
    const bool note = type != 0xB0;
    const int32_t value = type == 0x80 ? 0 : data2;
    for (int16_t bank = 0; bank < ControllerState::kBanks; ++bank) {
        for (int32_t pad = 0; pad < ControllerState::kPads; ++pad) {
            const MappedMessage& m = s.mapping.pads[pad][bank].message;
            const bool hit = m.Set()
                                 ? (m.kind == (note ? MessageKind::Note : MessageKind::Control) &&
                                    data1 == m.number && (status & 0x0F) == s.ChannelOf(m))
                                 : note && int64_t{data1} == ControllerState::PadNumber(bank, pad);
            if (hit)
                f(FeedbackTarget{bank, pad, value});
        }
    }
}

// The pad a message is feedback for: an "FDB" pad it addresses, else the first pad it addresses.
inline std::optional<FeedbackTarget> FeedbackFor(const ControllerState& s, int32_t status,
                                                 int32_t data1, int32_t data2) {
    std::optional<FeedbackTarget> first, taken;
    ForEachFeedbackTarget(s, status, data1, data2, [&](const FeedbackTarget& t) {
        if (!first)
            first = t;
        if (!taken && TakesFeedback(s.strPadMode[t.pad][t.bank]))
            taken = t;
    });
    return taken ? taken : first;
}
