#pragma once

#include "ui/NativeBytes.h"

#include <optional>

// A report from the controller: the header, the report kind and two value bytes, F7.
struct Report {
    enum Kind : uint8_t { Pad, Button, Knob, JogWheel, Pedal };
    Kind kind = Pad;
    uint8_t b7 = 0;
    uint8_t b8 = 0;

    // Byte 8 of a pressed button or pedal, and of a jog-wheel step to the left.
    static constexpr uint8_t kPressed = 0x7F;
    static constexpr uint8_t kJogLeft = 0x7F;
};

// The report a message carries, or none.
std::optional<Report> ParseReport(ByteView message);
Bytes ReportBytes(const Report& report);

// The reports the controller's parts send. Pads 0..15, buttons by their table index, knobs 0
// and 1, values 00..7F.
Report PadHit(int pad, int velocity);
Report PadRelease(int pad);
Report ButtonReport(int button, bool pressed);
Report KnobReport(int knob, int position);
Report JogWheelStep(bool left);
Report PedalReport(bool pressed);
// An XY-pad move on one axis (native::kXYPadX or kXYPadY): a control change on channel 1.
Bytes XYPadBytes(int axis, int value);
