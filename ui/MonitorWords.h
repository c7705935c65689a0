#pragma once

#include "ui/NativeBytes.h"

#include <cstdint>
#include <string>

// The kinds of message the monitor tells apart, and filters by.
enum class MonitorKind { Pads, Buttons, Controls, Lights, Notes, Other };
inline constexpr int kMonitorKinds = 6;

// One message in plain words. Pads, banks and MIDI channels count from 1, note and controller
// numbers are MIDI's own.
struct MessageWords {
    MonitorKind kind = MonitorKind::Other;
    std::string text;
};

struct ControllerState;

// A message Orvan was given, or sent to a destination (EngineRunner::Destination); size is the
// whole message's, of which message may hold only the first bytes. What feedback did depends on
// the pads' modes in the state given.
MessageWords ReceivedWords(ByteView message, size_t size, const ControllerState& pads);
MessageWords SentWords(uint8_t destination, ByteView message, size_t size);
