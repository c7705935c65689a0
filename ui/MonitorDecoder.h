#pragma once

#include "host/MonitoredMessage.h"
#include "ui/MonitorWords.h"

#include <cstdint>
#include <optional>
#include <string>

// One line of the monitor.
struct MonitorLine {
    int64_t clockMs = 0; // wall-clock time of day, in ms since midnight
    bool sent = false;
    uint8_t port = 0;    // EngineRunner::Source when received, EngineRunner::Destination when sent
    MessageWords words;  // an answer to the input just before starts with an arrow
    bool notice = false; // the monitor's own words, about no one message
    std::string bytes;   // the message in hex, as far as it was kept ("..." when cut)
    int channel = 0;     // 1..16 for a channel message, else 0

    // "12:34:56.789  in  controller      F0 42 40 6E 08 45 45 30 F7  pad 6 hit, velocity 48",
    // with the bytes column cut at kBytesColumn characters.
    std::string text() const;
    // The same with every kept byte.
    std::string fullText() const;
};

// Characters of the bytes column: a pad report or a single LED fits whole.
inline constexpr size_t kBytesColumn = 26;

// Turns the monitored messages into lines, in the order the engine handled and sent them. What
// is sent at the frame of the input just before is that input's answer.
class MonitorDecoder {
public:
    // pads: the state the message met, for what feedback did; clockMs: when it happened.
    MonitorLine decode(const MonitoredMessage& message, const ControllerState& pads,
                       int64_t clockMs);
    // The monitor's own line.
    MonitorLine notice(int64_t clockMs, const std::string& text);

private:
    std::optional<Frame> lastInput_;
};
