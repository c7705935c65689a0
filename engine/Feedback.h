#pragma once

#include "engine/ControllerState.h"
#include "engine/UCase.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Feedback from the music software: a note whose number is one of a bank's pad numbers (a
// note-off counts as value 0) sets that pad's state when it is an "FDB" pad. Nothing else is
// feedback: not a controller, program, pressure or pitch bend, whatever its first data byte.
struct FeedbackTarget {
    int16_t bank;
    int32_t pad;
    int32_t value;
};

// Widened, so that no host value can overflow.
inline std::optional<FeedbackTarget> FeedbackFor(int32_t status, int32_t data1, int32_t data2) {
    if (status < 0x80 || status > 0x9F)
        return std::nullopt;
    const int64_t number = data1;
    for (int16_t bank = 0; bank < ControllerState::kBanks; ++bank) {
        const int64_t first = ControllerState::kBankStride * bank;
        if (number >= first && number < first + ControllerState::kPads)
            return FeedbackTarget{bank, static_cast<int32_t>(number - first),
                                  status <= 0x8F ? 0 : data2};
    }
    return std::nullopt;
}

// Whether a pad of this mode takes feedback.
inline bool TakesFeedback(std::string_view mode) {
    return UCase(mode) == "FDB";
}
