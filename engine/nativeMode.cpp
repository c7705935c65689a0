#include "engine/ControllerEngine.h"
#include "engine/ModeButtons.h"
#include "engine/NativeMessages.h"

Task ControllerEngine::btnInitNativeMode_Click(std::optional<PadRecall> recall) {
    // Entry selects bank 1, shows the idle text and may recall every pad: a mode view still
    // shown would put its stale copy back over them on release.
    EndModeView(*this);
    co_await InitNativeMode();
    SetDisplay(strDisplayText, false);
    if (recall)
        RecallPadSettings(*recall);
}

Task ControllerEngine::InitNativeMode() {
    // The controller answers the entry messages with reports of its own; they mean nothing yet.
    bInitialising = true;
    Wire().HostSendSysEx(native::kSwitchOn);
    Wire().HostSendSysEx(native::kEntryLedPacket);
    Wire().HostSendSysEx(native::kSetupPacket);
    bInitialising = false;
    return ZivUvozaro_SetBank(0);
}

void ControllerEngine::ZivUvozaro_InitVariables() {
    for (size_t i = 0; i < native::kButtonLedIds.size(); ++i)
        strButtonLedId[i] = native::kButtonLedIds[i];
}

void ControllerEngine::ResendNativeState() {
    Wire().HostSendSysEx(native::kSwitchOn);
    Wire().HostSendSysEx(native::kEntryLedPacket);
    Wire().HostSendSysEx(native::kSetupPacket);
    ZivUvozaro_SetLights();
}
