#include "engine/ControllerEngine.h"

void ControllerEngine::ApplySettings(const ControllerSettings& settings) {
    static_cast<ControllerSettings&>(*this) = settings;
    // A pedal no longer the repeat's control holds nothing on.
    if (noteRepeat.pedalHeld && intRepeatControl != static_cast<int16_t>(RepeatControl::Pedal))
        SetRepeatPedal(false);
}

void ControllerEngine::RecallPadSettings(const PadRecall& recall) {
    ApplySettings(recall.settings);
    if (recall.tapIntervalMs)
        tmrTap.setInterval(*recall.tapIntervalMs);
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int pad = 0; pad < kPads; ++pad) {
            if (const auto& mode = recall.padMode[pad][bank])
                strPadMode[pad][bank] = *mode;
            if (const auto& state = recall.padState[pad][bank])
                bPadState[pad][bank] = *state;
        }
    }
    if (recall.knob1Active)
        bKnob1State = true;
    if (recall.knob2Active)
        bKnob2State = true;
    ZivUvozaro_SetLights();
}
