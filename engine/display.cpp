#include "engine/ControllerEngine.h"
#include "engine/DisplayCharacters.h"
#include "engine/HexText.h"
#include "engine/NativeMessages.h"

DisplayText TurnString(std::string_view strString) {
    DisplayText turned;
    for (auto c = strString.rbegin(); c != strString.rend(); ++c)
        turned += *c;
    return turned;
}

FixedText<3> DisplayCharacters(std::string_view text) {
    FixedText<3> shown(text);
    while (shown.size() < 3)
        shown += ' ';
    for (size_t i = 0; i < shown.size(); ++i)
        if (static_cast<unsigned char>(shown[i]) < 0x20 ||
            static_cast<unsigned char>(shown[i]) > 0x7E)
            shown[i] = '?';
    return shown;
}

void ControllerEngine::SetDisplay(DisplayText& strString, bool bWithTimer) {
    if (strString.empty())
        strString = kIdleDisplayText;
    // The display shows its bytes last character first.
    strString = DisplayCharacters(TurnString(strString));
    strLedSysEx.truncate(native::kDisplayPartOffset);
    strLedSysEx += StringToHex(strString);
    strLedSysEx += " F7";
    Wire().HostSendSysEx(strLedSysEx);
    if (bWithTimer)
        tmrDisplay.start(); // a timed text shown again gets its full time anew
    else
        tmrDisplay.stop();
}

Task ControllerEngine::SetDisplayForTime(DisplayText strString) {
    if (strString.empty())
        co_return;
    FixedText<48> message(native::kDisplayTextHead);
    message += StringToHex(DisplayCharacters(strString));
    message += " F7";
    Wire().HostSendSysEx(message);
    co_await SleepAndDispatch(1001);
}

void ControllerEngine::tmrDisplay_Timer() {
    DisplayText idle;
    SetDisplay(idle, false);
    tmrDisplay.stop();
}
