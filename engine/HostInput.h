#pragma once

#include "engine/FrameClock.h"

#include <cstdint>
#include <string_view>

// One message from the host: a SysEx message as text (upper-case hex pairs, single blanks), or a
// short message. The text belongs to the caller.
struct HostInput {
    Frame frame = 0;
    bool sysEx = false;
    std::string_view text;
    int32_t status = 0, data1 = 0, data2 = 0;
};
