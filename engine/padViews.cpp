#include "engine/ControllerEngine.h"

// While a mode button is held, the pads of one bank show membership in its mode instead of
// their own states; the states are kept aside and put back on release.

namespace {
void showMode(ControllerState& s, std::string_view mode, int16_t bank) {
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        s.vPadStateSaved[pad][bank] = s.bPadState[pad][bank];
        s.bPadState[pad][bank] = s.strPadMode[pad][bank] == mode;
    }
}
} // namespace

void ControllerEngine::ZivUvozaro_ShowToggledPads(int16_t intBank) {
    showMode(*this, "TOGGLE", intBank);
}

void ControllerEngine::ZivUvozaro_ShowCNPads(std::string_view strCNMode, int16_t intBank) {
    showMode(*this, strCNMode, intBank);
}

void ControllerEngine::ZivUvozaro_ShowTRKPads(std::string_view strMode, int16_t intBank) {
    showMode(*this, strMode, intBank);
}

void ControllerEngine::ZivUvozaro_ShowFDBPads(std::string_view strMode, int16_t intBank) {
    showMode(*this, strMode, intBank);
}

void ControllerEngine::ZivUvozaro_RecreatePadstate(int16_t intBank) {
    for (int pad = 0; pad < kPads; ++pad)
        bPadState[pad][intBank] = vPadStateSaved[pad][intBank].value_or(false);
}
