#include "engine/ControllerEngine.h"
#include "engine/HexText.h"
#include "engine/NativeMessages.h"

namespace {
void sendSingleLed(MidiOut& wire, std::string_view id, std::string_view tail) {
    FixedText<32> message(native::kSingleLedHead);
    message += id;
    message += tail;
    wire.HostSendSysEx(message);
}
} // namespace

void ControllerEngine::PadOn(std::string_view strInternalPadID) {
    sendSingleLed(Wire(), strInternalPadID, native::kSingleLedOn);
}

void ControllerEngine::PadOff(std::string_view strInternalPadID) {
    sendSingleLed(Wire(), strInternalPadID, native::kSingleLedOff);
}

void ControllerEngine::ZivUvozaro_SetLights() {
    const FixedText<16> displayPart(
        strLedSysEx.view().substr(std::min(strLedSysEx.size(), native::kDisplayPartOffset)));

    // LED n is bit n mod 7 of LED byte n div 7: pads 0..15, then the buttons by LED id.
    int ledBytes[5] = {0, 0, 0, 0, 0};
    auto light = [&](int led, bool on) {
        if (on)
            ledBytes[led / 7] |= 1 << (led % 7);
    };
    for (int pad = 0; pad < kPads; ++pad)
        light(pad, bPadState[pad][intCurrentBank]);
    for (int i = 0; i < kButtons; ++i) {
        const std::string_view id = native::kButtonLedIds[i];
        bool on = bButtonLed[i];
        // Latched knob assign buttons show their latch, not whether they are held.
        if (bAssignToggled && id == "1D")
            on = bKnob1State;
        else if (bAssignToggled && id == "1E")
            on = bKnob2State;
        light(HextoDec(id), on);
    }

    LedPacketText packet(native::kLedPacketHead);
    for (int i = 0; i < 4; ++i) {
        packet += HexByte(ledBytes[i]);
        packet += ' ';
    }
    packet += HexByte(ledBytes[4]);
    packet += " 00";
    packet += displayPart;
    strLedSysEx = packet;
    Wire().HostSendSysEx(strLedSysEx);
}

void ControllerEngine::PadOff_All() {
    Wire().HostSendSysEx(strLedSysEx);
}
