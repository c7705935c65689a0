#include "engine/ControllerEngine.h"

// Every note and control change leaves here, on the global channel read afresh at each send.
// Values are not checked or clipped: the host refuses what is not valid MIDI.

namespace {
constexpr int32_t kAnyPort = -1;
constexpr int32_t kNoteOn = 0x90;
constexpr int32_t kControlChange = 0xB0;
} // namespace

void ControllerEngine::SendCC(int16_t intCC, int16_t intValue) {
    Wire().HostSendMessage(kAnyPort, kControlChange + intMidiChannel, intCC - 1, intValue);
}

void ControllerEngine::SendNote(int16_t intNoteValue, int16_t intVelocity) {
    Wire().HostSendMessage(kAnyPort, kNoteOn + intMidiChannel, intNoteValue, intVelocity);
}

void ControllerEngine::SendNoteOn(int16_t intNoteValue) {
    SendNote(intNoteValue, 127);
}

// A note ends with velocity 0, never with a note-off status.
void ControllerEngine::SendNoteOff(int16_t intNoteValue) {
    SendNote(intNoteValue, 0);
}

Task ControllerEngine::PulsedMidiOutPut(int16_t intWaitMiliSeconds, int16_t intNoteValue) {
    SendNoteOn(intNoteValue);
    if (intWaitMiliSeconds >= 0)
        co_await SleepAndDispatch(int32_t{intWaitMiliSeconds} + 1, intNoteValue);
    SendNoteOff(intNoteValue);
}
