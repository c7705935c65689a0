#include "engine/ButtonTable.h"
#include "engine/ControllerEngine.h"

namespace {
// Wire controller numbers a bank change sends: the selected bank's first, at 127.
constexpr int16_t kBankControllers[ControllerState::kBanks][3] = {
    {16, 18, 17}, {17, 18, 16}, {18, 17, 16}};
} // namespace

Task ControllerEngine::ZivUvozaro_SetBank(int16_t intBank) {
    if (intBank < 0 || intBank >= kBanks)
        co_return;
    for (int bank = 0; bank < kBanks; ++bank)
        bButtonLed[ButtonIndexOfLedId(kBankButtonLedIds[bank])] = bank == intBank;
    // The bank is current before the pulse's wait lets further reports in: a bank or mode
    // button handled inside it then acts on the bank the LEDs show, and the last press wins.
    intCurrentBank = intBank;
    if (strBankSelectMidiCC == "MIDI") {
        co_await PulsedMidiOutPut(5, static_cast<int16_t>(16 + intBank));
    } else {
        const auto& controllers = kBankControllers[intBank];
        SendCC(static_cast<int16_t>(controllers[0] + 1), 127);
        SendCC(static_cast<int16_t>(controllers[1] + 1), 0);
        SendCC(static_cast<int16_t>(controllers[2] + 1), 0);
    }
    ZivUvozaro_SetLights();
}
