#include "ui/MappedControl.h"

#include "engine/NativeMessages.h"
#include "ui/ControllerReports.h"

MappedMessage& MessageOf(Mapping& mapping, const MappedControl& control) {
    switch (control.kind) {
    case MappedControl::Pad:
        return mapping.pads.at(control.index).at(control.bank).message;
    case MappedControl::Knob:
        return mapping.knobs.at(control.index);
    case MappedControl::XYPadX:
        return mapping.xyPad[0];
    case MappedControl::XYPadY:
        return mapping.xyPad[1];
    case MappedControl::Pedal:
        return mapping.pedal;
    case MappedControl::JogLeft:
        return mapping.jogWheel[0];
    case MappedControl::JogRight:
        break;
    }
    return mapping.jogWheel[1];
}

const MappedMessage& MessageOf(const Mapping& mapping, const MappedControl& control) {
    return MessageOf(const_cast<Mapping&>(mapping), control);
}

bool Allows(const MappedControl& control, MessageKind kind) {
    switch (control.kind) {
    case MappedControl::Knob:
    case MappedControl::XYPadX:
    case MappedControl::XYPadY:
        return kind == MessageKind::Default || kind == MessageKind::Control;
    case MappedControl::JogLeft:
    case MappedControl::JogRight:
        return kind != MessageKind::Program;
    case MappedControl::Pad:
    case MappedControl::Pedal:
        break;
    }
    return true;
}

std::optional<MappedControl> ControlOfPart(ControllerLayout::Part part, int bank) {
    using Part = ControllerLayout::Part;
    switch (part.kind) {
    case Part::Pad:
        return MappedControl{MappedControl::Pad, part.index, bank};
    case Part::Knob:
        return MappedControl{MappedControl::Knob, part.index};
    case Part::XYPad:
        return MappedControl{MappedControl::XYPadX};
    case Part::JogWheel:
        return MappedControl{MappedControl::JogRight};
    case Part::Pedal:
        return MappedControl{MappedControl::Pedal};
    case Part::Button:
    case Part::None:
        break;
    }
    return std::nullopt;
}

std::optional<MappedControl> TouchedControl(ByteView message, int bank) {
    constexpr uint8_t kControlChange = 0xB0;
    if (message.size() == 3 && message[0] == kControlChange &&
        (message[1] == native::kXYPadX || message[1] == native::kXYPadY))
        return MappedControl{message[1] == native::kXYPadX ? MappedControl::XYPadX
                                                           : MappedControl::XYPadY};
    const std::optional<Report> report = ParseReport(message);
    if (!report)
        return std::nullopt;
    switch (report->kind) {
    case Report::Pad:
        if (report->b7 >= native::kPadHitForm && report->b7 < native::kPadHitForm + 16)
            return MappedControl{MappedControl::Pad, report->b7 - native::kPadHitForm, bank};
        break;
    case Report::Knob:
        if (report->b7 < 2)
            return MappedControl{MappedControl::Knob, report->b7};
        break;
    case Report::JogWheel:
        return MappedControl{report->b8 == Report::kJogLeft ? MappedControl::JogLeft
                                                            : MappedControl::JogRight};
    case Report::Pedal:
        if (report->b8 == Report::kPressed)
            return MappedControl{MappedControl::Pedal};
        break;
    case Report::Button:
        break;
    }
    return std::nullopt;
}

std::optional<MappedMessage> LearnedMessage(ByteView message) {
    if (message.size() != 3 || message[1] > 127)
        return std::nullopt;
    const int kind = message[0] & 0xF0;
    const auto channel = static_cast<int8_t>(message[0] & 0x0F);
    const auto number = static_cast<int8_t>(message[1]);
    if (kind == 0x80 || kind == 0x90)
        return MappedMessage{MessageKind::Note, number, channel};
    if (kind == 0xB0)
        return MappedMessage{MessageKind::Control, number, channel};
    return std::nullopt;
}
