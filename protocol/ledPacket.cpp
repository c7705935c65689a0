#include "host/frmMain.h"
#include "protocol/HexText.h"
#include "protocol/NativeMessages.h"

namespace {
int ledNumber(std::string_view id) {
    return HextoDec(std::string(id));
}
} // namespace

void frmMain::PadOn(const std::string& strInternalPadID) {
    Wire().HostSendSysEx(std::string(native::kSingleLedHead) + strInternalPadID +
                         std::string(native::kSingleLedOn));
}

void frmMain::PadOff(const std::string& strInternalPadID) {
    Wire().HostSendSysEx(std::string(native::kSingleLedHead) + strInternalPadID +
                         std::string(native::kSingleLedOff));
}

void frmMain::ZivUvozaro_SetLights() {
    const std::string displayPart = strLedSysEx.substr(native::kDisplayPartOffset);

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
        light(ledNumber(id), on);
    }

    std::string packet(native::kLedPacketHead);
    for (int i = 0; i < 4; ++i)
        packet += HexByte(ledBytes[i]) + ' ';
    packet += HexByte(ledBytes[4]) + " 00";
    strLedSysEx = packet + displayPart;
    Wire().HostSendSysEx(strLedSysEx);
}

void frmMain::PadOff_All() {
    Wire().HostSendSysEx(strLedSysEx);
}
