#include "engine/ControllerEngine.h"

// Every note and control change leaves here, on the global channel read afresh at each send
// unless a mapping gives its own. Values are not checked or clipped: the host refuses what is not
// valid MIDI.

namespace {
constexpr int32_t kAnyPort = -1;
constexpr int32_t kNoteOn = 0x90;
constexpr int32_t kControlChange = 0xB0;
constexpr int32_t kProgramChange = 0xC0;
} // namespace

void ControllerEngine::SendShort(int32_t status, int32_t data1, int32_t data2) {
    // Only what reaches the wire as a note counts as sounding.
    if ((status & 0xF0) == kNoteOn && status <= 0x9F && data1 >= 0 && data1 < 128 && data2 >= 0 &&
        data2 < 128) {
        uint64_t& bits = soundingNotes[status & 0x0F][data1 >> 6];
        const uint64_t bit = uint64_t{1} << (data1 & 63);
        bits = data2 > 0 ? bits | bit : bits & ~bit;
    }
    Wire().HostSendMessage(kAnyPort, status, data1, data2);
}

void ControllerEngine::SendChannelNote(int32_t channel, int32_t note, int32_t velocity) {
    if (velocity > 0 || Sounding(channel, note))
        SendShort(kNoteOn + channel, note, velocity);
}

void ControllerEngine::SendCC(int16_t intCC, int16_t intValue) {
    SendShort(kControlChange + intMidiChannel, intCC - 1, intValue);
}

void ControllerEngine::SendNote(int16_t intNoteValue, int16_t intVelocity) {
    SendShort(kNoteOn + intMidiChannel, intNoteValue, intVelocity);
}

void ControllerEngine::SendNoteOn(int16_t intNoteValue) {
    SendNote(intNoteValue, 127);
}

// A note ends with velocity 0, never with a note-off status.
void ControllerEngine::SendNoteOff(int16_t intNoteValue) {
    SendNote(intNoteValue, 0);
}

void ControllerEngine::SendMapped(const MappedMessage& m, int16_t value) {
    const int32_t channel = ChannelOf(m);
    switch (m.kind) {
    case MessageKind::Note:
        // A note is ended once: a release whose note was already ended sends nothing.
        SendChannelNote(channel, m.number, value);
        break;
    case MessageKind::Control:
        SendShort(kControlChange + channel, m.number, value);
        break;
    case MessageKind::Program:
        if (value > 0)
            SendShort(kProgramChange + channel, m.number, 0);
        break;
    case MessageKind::Default:
        break;
    }
}

Task ControllerEngine::PulsedMidiOutPut(int16_t intWaitMiliSeconds, int16_t intNoteValue) {
    return PulsedNoteOut(intWaitMiliSeconds, PulsedNote{intNoteValue});
}

Task ControllerEngine::PulsedNoteOut(int16_t waitMs, PulsedNote note) {
    SendPulsed(note, 127);
    if (waitMs >= 0)
        co_await SleepAndDispatch(int32_t{waitMs} + 1, note);
    SendPulsed(note, 0);
}

void ControllerEngine::SendPulsed(PulsedNote note, int16_t velocity) {
    if (note.channel < 0)
        SendNote(note.note, velocity);
    else
        SendShort(kNoteOn + note.channel, note.note, velocity);
}
