#include "ui/MonitorWords.h"

#include "engine/ButtonTable.h"
#include "engine/ControllerState.h"
#include "engine/Feedback.h"
#include "engine/HexText.h"
#include "engine/NativeMessages.h"
#include "host/EngineRunner.h"
#include "host/MidiBytes.h"
#include "ui/ButtonRoles.h"
#include "ui/ControllerMessage.h"
#include "ui/ControllerReports.h"
#include "ui/NoteNames.h"

namespace {
using K = MonitorKind;
constexpr uint8_t kNoteOff = 0x80, kNoteOn = 0x90, kPolyPressure = 0xA0, kControlChange = 0xB0;

std::string n(int value) {
    return std::to_string(value);
}

// Messages without words of their own, as bytes.
MessageWords otherWords(ByteView message, size_t size) {
    return {K::Other, (message[0] == 0xF0 ? "SysEx " : "") +
                          SysExText(message.data(), message.size()) +
                          (size > message.size() ? " ..." : "")};
}

std::string pressed(uint8_t value) {
    return value == Report::kPressed ? " pressed" : " released";
}

// What a control taken by note repeat does instead of sending.
std::string jobWords(const ControllerState& state, RepeatControl control) {
    switch (RepeatJobOf(state, control)) {
    case RepeatJob::Hold:
        return " (holds note repeat on)";
    case RepeatJob::Tap:
        return " (taps the own tempo)";
    case RepeatJob::None:
        break;
    }
    return {};
}

MessageWords reportWords(const Report& r, const ControllerState& state) {
    const int hit = r.b7 - native::kPadHitForm;
    switch (r.kind) {
    case Report::Pad:
        if (hit >= 0 && hit < ControllerState::kPads)
            return {K::Pads, "pad " + n(hit + 1) + " hit, velocity " + n(r.b8)};
        if (r.b7 < ControllerState::kPads)
            return {K::Pads, "pad " + n(r.b7 + 1) + " released"};
        return {K::Other, "pad report for no pad (" + HexByte(r.b7).str() + ")"};
    case Report::Button:
        if (const int button = ButtonIndexOfSwitch(HexByte(r.b7)); button >= 0) {
            const ButtonRole role = RoleOfButton(button);
            const std::string job = role.kind == ButtonRole::Note
                                        ? jobWords(state, NoteButtonControl(role.number))
                                        : std::string();
            return {K::Buttons, role.words + pressed(r.b8) + job};
        }
        return {K::Buttons, "switch " + HexByte(r.b7).str() + pressed(r.b8)};
    case Report::Knob:
        return {K::Controls, "knob " + n(r.b7 == 0 ? 1 : 2) + " to " + n(r.b8)};
    case Report::JogWheel:
        return {K::Controls, r.b8 == Report::kJogLeft ? "jog wheel left" : "jog wheel right"};
    case Report::Pedal:
        return {K::Buttons, "pedal" + pressed(r.b8) + jobWords(state, RepeatControl::Pedal)};
    }
    return {};
}

bool isShortMessage(ByteView m) {
    return !m.empty() && m[0] >= 0x80 && m[0] < 0xF0 &&
           static_cast<int>(m.size()) == 1 + DataBytesAfter(m[0]);
}

std::string typeName(uint8_t status) {
    static const char* const names[] = {"note-off", "note",     "aftertouch", "controller",
                                        "program",  "pressure", "pitch bend"};
    return names[(status >> 4) - 8];
}

// "note 60 (C4)": a note's number and name (C1 = 36); other numbers alone.
std::string numberWords(ByteView m) {
    if ((m[0] & 0xF0) > kPolyPressure)
        return n(m[1]);
    return n(m[1]) + " (" + NoteName(m[1]).toStdString() + ")";
}

// "note 60 (C4), velocity 48, channel 1", "controller 7, value 0, channel 16", "program 3,
// channel 2".
std::string shortWords(ByteView m) {
    const bool note = (m[0] & 0xF0) <= kNoteOn;
    std::string text = typeName(m[0]) + " " + numberWords(m);
    if (m.size() > 2)
        text += (note ? ", velocity " : ", value ") + n(m[2]);
    return text + ", channel " + n((m[0] & 0x0F) + 1);
}

MessageWords shortMessageWords(ByteView m) {
    const int type = m[0] & 0xF0;
    const bool notes = type == kNoteOff || type == kNoteOn || type == kControlChange;
    return {notes ? K::Notes : K::Other, shortWords(m)};
}

// Short messages from either side are the music software's feedback: a note with a pad's number
// sets an "FDB" pad and leaves any other pad as it is; nothing else reaches a pad.
MessageWords feedbackWords(ByteView m, const ControllerState& pads) {
    const std::optional<FeedbackTarget> target =
        FeedbackFor(pads, m[0], m[1], m.size() > 2 ? m[2] : 0);
    if (!target) {
        MessageWords words = shortMessageWords(m);
        if ((m[0] & 0xF0) <= kNoteOn)
            words.text += " (no pad's number)";
        return words;
    }
    const std::string heard = "feedback " + typeName(m[0]) + " " + numberWords(m) + " \u2192 pad " +
                              n(target->pad + 1) + " of bank " + n(target->bank + 1);
    const ModeText& mode = pads.strPadMode[target->pad][target->bank];
    if (!TakesFeedback(mode))
        return {K::Notes, heard + " is " + mode.str() + ": feedback ignored"};
    return {K::Notes,
            heard + " (FDB) " + (target->value >= ControllerState::kFeedbackLit ? "lit" : "dark")};
}

std::string ledName(int led) {
    if (led < ControllerState::kPads)
        return "pad " + n(led + 1);
    return RoleOfButton(ButtonIndexOfLedId(HexByte(led))).words;
}

std::string displayWords(const std::string& display) {
    return display.find_first_not_of(' ') == std::string::npos ? "blank" : display;
}

// "LED packet: pads 1 3 lit, display B 2, bank button 2 lit"
std::string packetWords(const ControllerMessage& m) {
    std::string pads, buttons;
    int litPads = 0;
    for (int led = 0; led < ControllerMessage::kLeds; ++led) {
        if (!m.leds[led])
            continue;
        if (led < ControllerState::kPads) {
            pads += ' ';
            pads += n(led + 1);
            ++litPads;
        } else {
            buttons += ", " + ledName(led);
        }
    }
    const std::string padWords = litPads == 0   ? "no pads lit"
                                 : litPads == 1 ? "pad" + pads + " lit"
                                                : "pads" + pads + " lit";
    return std::string(m.entry ? "entry: " : "") + "LED packet: " + padWords + ", display " +
           displayWords(m.display) + (buttons.empty() ? "" : buttons + " lit");
}

MessageWords controllerWords(ByteView message, size_t size) {
    const ControllerMessage m = ParseControllerMessage(message);
    switch (m.kind) {
    case ControllerMessage::SwitchOn:
        return {K::Other, "entry: switch-on"};
    case ControllerMessage::Setup:
        return {K::Other, "entry: setup packet"};
    case ControllerMessage::LedPacket:
        return {K::Lights, packetWords(m)};
    case ControllerMessage::SingleLed:
        return {K::Lights, "LED " + ledName(m.led) + (m.on ? " on" : " off")};
    case ControllerMessage::DisplayText:
        return {K::Lights, "display " + displayWords(m.display)};
    case ControllerMessage::Unknown:
        break;
    }
    return otherWords(message, size);
}
} // namespace

MessageWords ReceivedWords(ByteView message, size_t size, const ControllerState& pads) {
    if (const std::optional<Report> report = ParseReport(message))
        return reportWords(*report, pads);
    if (!isShortMessage(message))
        return otherWords(message, size);
    if (message.size() > 2 && (message[1] == native::kXYPadX || message[1] == native::kXYPadY))
        return {K::Controls, std::string("XY pad ") + (message[1] == native::kXYPadX ? "X" : "Y") +
                                 " to " + n(message[2])};
    return feedbackWords(message, pads);
}

MessageWords SentWords(uint8_t destination, ByteView message, size_t size) {
    if (destination == EngineRunner::ToController)
        return controllerWords(message, size);
    if (isShortMessage(message))
        return shortMessageWords(message);
    return otherWords(message, size);
}
