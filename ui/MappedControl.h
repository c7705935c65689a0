#pragma once

#include "engine/Mapping.h"
#include "ui/ControllerLayout.h"
#include "ui/NativeBytes.h"

#include <QString>

#include <optional>

// A control a player can give a message of their own: a pad of one bank, a knob, an axis of the
// XY pad, the pedal or one direction of the jog wheel.
struct MappedControl {
    enum Kind { Pad, Knob, XYPadX, XYPadY, Pedal, JogLeft, JogRight };
    Kind kind = Pad;
    int index = 0; // pad 0..15 or knob 0..1
    int bank = 0;  // of a pad
    bool operator==(const MappedControl&) const = default;
};

MappedMessage& MessageOf(Mapping& mapping, const MappedControl& control);
const MappedMessage& MessageOf(const Mapping& mapping, const MappedControl& control);

// Whether the control can send the kind of message: knobs and XY axes send their position as a
// control change, the jog wheel a note pulse or a control change; pads and the pedal anything.
bool Allows(const MappedControl& control, MessageKind kind);

// The control a click on the view's part gives, in the bank the view shows; none for buttons.
std::optional<MappedControl> ControlOfPart(ControllerLayout::Part part, int bank);
// The control that a controller's report (a hit, not a release) or XY-pad move comes from.
std::optional<MappedControl> TouchedControl(ByteView message, int bank);
// What learning takes from a message of the music software: a note (on or off) or a control
// change, with its number and own channel.
std::optional<MappedMessage> LearnedMessage(ByteView message);
