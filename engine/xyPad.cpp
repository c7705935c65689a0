#include "engine/ControllerEngine.h"
#include "engine/NativeMessages.h"

void ControllerEngine::ZivUvozaroXYMove(int32_t lData1, int32_t lData2) {
    const MappedMessage& axis = mapping.xyPad[lData1 == native::kXYPadX ? 0 : 1];
    if (axis.Set())
        SendMapped(axis, static_cast<int16_t>(lData2));
    else
        SendCC(static_cast<int16_t>(lData1), static_cast<int16_t>(lData2));
}

// Both axes feed one tap detector: a changed value taps once, then taps rest until tmrTap fires.
void ControllerEngine::ZivUvozaroXYTap(int32_t /*lData1*/, int32_t lData2) {
    if (lData2 == intLastXYValue || tmrTap.isActive())
        return;
    intLastXYValue = lData2;
    tmrTap.start();
    SendCC(125, 127);
}

void ControllerEngine::tmrTap_Timer() {
    tmrTap.stop();
}
