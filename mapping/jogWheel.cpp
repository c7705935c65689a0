#include "host/frmMain.h"
#include "mapping/ButtonTable.h"
#include "mapping/ReportValue.h"

void frmMain::ZivUvozaro_JogWheel(const std::string& bstrSysEx) {
    const bool left = ReportValueText(bstrSysEx) == "7F";

    // A held modifier turns the steps into its own notes, whatever the jog-wheel setting.
    for (const JogModifier& modifier : kJogModifiers) {
        if (!bButtonLed[ButtonIndexOfLedId(modifier.ledId)])
            continue;
        PulsedMidiOutPut(3, static_cast<int16_t>(modifier.leftNote + (left ? 0 : 1)));
        return;
    }

    const int16_t number = left ? intJogWheelLeft : intJogWheelRight;
    if (strJogWheelMode == "MIDI")
        PulsedMidiOutPut(3, number);
    else
        SendCC(number, 127);
    std::string text = left ? "X--" : "--X";
    SetDisplay(text, true);
}
