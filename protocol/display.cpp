#include "host/frmMain.h"
#include "protocol/DisplayText.h"
#include "protocol/HexText.h"
#include "protocol/NativeMessages.h"

#include <algorithm>

std::string TurnString(const std::string& strString) {
    return {strString.rbegin(), strString.rend()};
}

std::string DisplayCharacters(std::string text) {
    text.resize(3, ' ');
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '?';
    return text;
}

void frmMain::SetDisplay(std::string& strString, bool bWithTimer) {
    if (strString.empty())
        strString = kIdleDisplayText;
    // The display shows its bytes last character first.
    strString = DisplayCharacters(TurnString(strString));
    strLedSysEx =
        strLedSysEx.substr(0, native::kDisplayPartOffset) + StringToHex(strString) + " F7";
    Wire().HostSendSysEx(strLedSysEx);
    if (bWithTimer)
        tmrDisplay.start(); // a timed text shown again gets its full time anew
    else
        tmrDisplay.stop();
}

void frmMain::SetDisplayForTime(std::string strString) {
    if (strString.empty())
        return;
    Wire().HostSendSysEx(std::string(native::kDisplayTextHead) +
                         StringToHex(DisplayCharacters(strString)) + " F7");
    SleepAndDispatch(1001);
}

void frmMain::tmrDisplay_Timer() {
    std::string idle;
    SetDisplay(idle, false);
    tmrDisplay.stop();
}
