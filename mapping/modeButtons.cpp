#include "mapping/ModeButtons.h"

#include "host/frmMain.h"
#include "mapping/ButtonTable.h"

#include <array>

namespace {
void showToggled(frmMain& main, int16_t bank) {
    main.ZivUvozaro_ShowToggledPads(bank);
}
void showCN1(frmMain& main, int16_t bank) {
    main.ZivUvozaro_ShowCNPads("CN1", bank);
}
void showCN2(frmMain& main, int16_t bank) {
    main.ZivUvozaro_ShowCNPads("CN2", bank);
}
void showTRK(frmMain& main, int16_t bank) {
    main.ZivUvozaro_ShowTRKPads("TRK", bank);
}
void showFDB(frmMain& main, int16_t bank) {
    main.ZivUvozaro_ShowFDBPads("FDB", bank);
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

void EndModeView(frmMain& main) {
    for (const ModeButton& button : kModeButtons) {
        if (main.strButtonMode != button.mode)
            continue;
        main.bButtonLed[ButtonIndexOfLedId(button.ledId)] = false;
        main.strButtonMode.clear();
        main.ZivUvozaro_RecreatePadstate(main.intCurrentBank);
        return;
    }
}
