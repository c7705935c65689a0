#include "host/LaunchActions.h"

#include "host/JackHost.h"
#include "host/frmMain.h"
#include "protocol/NativeMessages.h"

void ResendNativeState(frmMain& window) {
    MidiHost& wire = window.Wire();
    wire.HostSendSysEx(std::string(native::kSwitchOn));
    wire.HostSendSysEx(std::string(native::kEntryLedPacket));
    wire.HostSendSysEx(std::string(native::kSetupPacket));
    wire.HostSendSysEx(window.strLedSysEx);
}

void ApplyLaunchOptions(const LaunchOptions& options, frmMain& window, JackHost& host) {
    if (!options.nativeMode)
        return;
    window.RunEvent([&window] { window.btnInitNativeMode_Click(); });
    host.setControllerReturned(
        [&window] { window.RunEvent([&window] { ResendNativeState(window); }); });
}
