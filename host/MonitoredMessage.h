#pragma once

#include "engine/FrameClock.h"

#include <array>
#include <cstddef>
#include <cstdint>

// One message the engine was given or sent, as the window's monitor sees it: the frame, the
// direction and port, and the first kKept bytes.
struct MonitoredMessage {
    static constexpr size_t kKept = 64;

    struct Header {
        Frame frame = 0;
        bool sent = false; // false: received
        uint8_t port = 0;  // received: EngineRunner::Source; sent: EngineRunner::Destination
        uint16_t size = 0; // of the whole message
    };
    Header header;
    std::array<uint8_t, kKept> bytes{};

    size_t kept() const { return header.size < kKept ? header.size : kKept; }
};
