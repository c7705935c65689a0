#include "host/frmMain.h"
#include "mapping/ModeButtons.h"
#include "protocol/NativeMessages.h"
#include "settings/mSettings.h"

void frmMain::btnInitNativeMode_Click() {
    // Entry selects bank 1, shows the idle text and may recall every pad: a mode view still
    // shown would put its stale copy back over them on release.
    EndModeView(*this);
    InitNativeMode();
    SetDisplay(strDisplayText, false);
    if (ReadSetting("AutoRecall") == "1")
        RecallPadSettings();
}

void frmMain::InitNativeMode() {
    // The controller answers the entry messages with reports of its own; they mean nothing yet.
    bInitialising = true;
    Wire().HostSendSysEx(std::string(native::kSwitchOn));
    Wire().HostSendSysEx(std::string(native::kEntryLedPacket));
    Wire().HostSendSysEx(std::string(native::kSetupPacket));
    bInitialising = false;
    ZivUvozaro_SetBank(0);
}

void frmMain::ZivUvozaro_InitVariables() {
    for (size_t i = 0; i < native::kButtonLedIds.size(); ++i)
        strButtonLedId[i] = std::string(native::kButtonLedIds[i]);
}
