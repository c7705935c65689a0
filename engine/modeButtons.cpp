#include "engine/ModeButtons.h"

#include "engine/ButtonTable.h"
#include "engine/ControllerEngine.h"

#include <array>

namespace {
void showToggled(ControllerEngine& engine, int16_t bank) {
    engine.ZivUvozaro_ShowToggledPads(bank);
}
void showCN1(ControllerEngine& engine, int16_t bank) {
    engine.ZivUvozaro_ShowCNPads("CN1", bank);
}
void showCN2(ControllerEngine& engine, int16_t bank) {
    engine.ZivUvozaro_ShowCNPads("CN2", bank);
}
void showTRK(ControllerEngine& engine, int16_t bank) {
    engine.ZivUvozaro_ShowTRKPads("TRK", bank);
}
void showFDB(ControllerEngine& engine, int16_t bank) {
    engine.ZivUvozaro_ShowFDBPads("FDB", bank);
}

constexpr std::array<ModeButton, 5> kModeButtons = {{
    {"10", "TOGGLE", "TGL", showToggled},
    {"11", "CN1", "CN1", showCN1},
    {"12", "TRK", "TRK", showTRK},
    {"19", "CN2", "CN2", showCN2},
    {"1A", "FDB", "FDB", showFDB},
}};
} // namespace

const ModeButton* FindModeButton(std::string_view ledId) {
    for (const ModeButton& button : kModeButtons)
        if (button.ledId == ledId)
            return &button;
    return nullptr;
}

bool ModeButtonActs(const ControllerState& state, const ModeButton& button, bool pressed) {
    return pressed ? state.strButtonMode.empty() : state.strButtonMode == button.mode;
}

void EndModeView(ControllerEngine& engine) {
    for (const ModeButton& button : kModeButtons) {
        if (engine.strButtonMode != button.mode)
            continue;
        engine.bButtonLed[ButtonIndexOfLedId(button.ledId)] = false;
        engine.strButtonMode.clear();
        engine.ZivUvozaro_RecreatePadstate(engine.intCurrentBank);
        return;
    }
}
