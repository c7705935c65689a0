#include "host/frmMain.h"

// While a mode button is held, the pads of one bank show membership in its mode instead of
// their own states; the states are kept aside and put back on release.

namespace {
void showMode(ControllerState& s, const std::string& mode, int16_t bank) {
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        s.vPadStateSaved[pad][bank] = s.bPadState[pad][bank];
        s.bPadState[pad][bank] = s.strPadMode[pad][bank] == mode;
    }
}
} // namespace

void frmMain::ZivUvozaro_ShowToggledPads(int16_t intBank) {
    showMode(*this, "TOGGLE", intBank);
}

void frmMain::ZivUvozaro_ShowCNPads(const std::string& strCNMode, int16_t intBank) {
    showMode(*this, strCNMode, intBank);
}

void frmMain::ZivUvozaro_ShowTRKPads(const std::string& strMode, int16_t intBank) {
    showMode(*this, strMode, intBank);
}

void frmMain::ZivUvozaro_ShowFDBPads(const std::string& strMode, int16_t intBank) {
    showMode(*this, strMode, intBank);
}

void frmMain::ZivUvozaro_RecreatePadstate(int16_t intBank) {
    for (int pad = 0; pad < kPads; ++pad)
        bPadState[pad][intBank] = vPadStateSaved[pad][intBank].value_or(false);
}
