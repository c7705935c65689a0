#pragma once

#include "host/MonitoredMessage.h"
#include "ui/MonitorWords.h"

#include <optional>
#include <string>

// One line of the monitor.
struct MonitorLine {
    double seconds = 0; // since the first message
    bool sent = false;
    uint8_t port = 0;    // EngineRunner::Source when received, EngineRunner::Destination when sent
    MessageWords words;  // an answer to the input just before starts with an arrow
    bool notice = false; // the monitor's own words, about no one message

    // "   1.234  in  controller      pad 6 hit, velocity 48"
    std::string text() const;
};

// Turns the monitored messages into lines, in the order the engine handled and sent them. What
// is sent at the frame of the input just before is that input's answer.
class MonitorDecoder {
public:
    explicit MonitorDecoder(uint32_t sampleRate = 48000) : sampleRate_(sampleRate) {}

    // pads: the state the message met, for what feedback did.
    MonitorLine decode(const MonitoredMessage& message, const ControllerState& pads);
    // The monitor's own line at a frame.
    MonitorLine notice(Frame frame, const std::string& text);

private:
    double secondsAt(Frame frame);

    uint32_t sampleRate_;
    std::optional<Frame> first_;
    std::optional<Frame> lastInput_;
};
