#include "host/frmMain.h"

namespace {
// Button table index of each bank's button.
constexpr int kBankButton[ControllerState::kBanks] = {6, 5, 4};
// Wire controller numbers a bank change sends: the selected bank's first, at 127.
constexpr int16_t kBankControllers[ControllerState::kBanks][3] = {
    {16, 18, 17}, {17, 18, 16}, {18, 17, 16}};
} // namespace

void frmMain::ZivUvozaro_SetBank(int16_t intBank) {
    if (intBank < 0 || intBank >= kBanks)
        return;
    for (int bank = 0; bank < kBanks; ++bank)
        bButtonLed[kBankButton[bank]] = bank == intBank;
    if (strBankSelectMidiCC == "MIDI") {
        PulsedMidiOutPut(5, static_cast<int16_t>(16 + intBank));
    } else {
        const auto& controllers = kBankControllers[intBank];
        SendCC(static_cast<int16_t>(controllers[0] + 1), 127);
        SendCC(static_cast<int16_t>(controllers[1] + 1), 0);
        SendCC(static_cast<int16_t>(controllers[2] + 1), 0);
    }
    intCurrentBank = intBank;
    ZivUvozaro_SetLights();
}
