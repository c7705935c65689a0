#include "engine/ControllerEngine.h"

void ControllerEngine::ApplySettings(const ControllerSettings& settings) {
    const int16_t control = intRepeatControl;
    static_cast<ControllerSettings&>(*this) = settings;
    // A control no longer the repeat's holds nothing on.
    if (noteRepeat.controlHeld && intRepeatControl != control)
        SetRepeatHeld(false);
    retimeRepeat();
}

// The settings a recall or a scene brings, with the XY pad's rest after a tap.
void ControllerEngine::applyRecalledSettings(const PadRecall& recall) {
    ApplySettings(recall.settings);
    if (recall.tapIntervalMs)
        tmrTap.setInterval(*recall.tapIntervalMs);
}

void ControllerEngine::RecallPadSettings(const PadRecall& recall) {
    applyRecalledSettings(recall);
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
