#pragma once

#include "ui/NativeBytes.h"

#include <array>
#include <string>

// A message Orvan sends to the controller, decoded: what it makes the controller show.
struct ControllerMessage {
    // LED n is pad n for 0..15, the button with LED id n from 0x10 on.
    static constexpr int kLeds = 35;

    enum Kind { SwitchOn, Setup, LedPacket, SingleLed, DisplayText, Unknown };
    Kind kind = Unknown;
    bool entry = false;             // the LED packet of the native-mode entry
    std::array<bool, kLeds> leds{}; // LedPacket: every LED
    int led = -1;                   // SingleLed: the LED and its new state
    bool on = false;
    std::string display; // LedPacket, DisplayText: three characters in reading order
};

ControllerMessage ParseControllerMessage(ByteView message);
