#include "engine/ControllerEngine.h"
#include "engine/NativeMessages.h"

ControllerEngine::ControllerEngine(MidiOut& wire) : mWire(&wire) {
    ZivUvozaro_InitVariables();
    strLedSysEx = native::kInitialLedPacket;
    for (auto& pad : strPadMode)
        pad.fill("FLASH");
    tmrDisplay.setInterval(500);
    tmrTap.setInterval(100);
}
