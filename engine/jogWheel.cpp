#include "engine/ButtonTable.h"
#include "engine/ControllerEngine.h"
#include "engine/ReportValue.h"

Task ControllerEngine::ZivUvozaro_JogWheel(std::string_view bstrSysEx) {
    const bool left = ReportValueText(bstrSysEx) == "7F";

    // While note repeat's control is held, the wheel chooses the rate: right is faster.
    if (noteRepeat.controlHeld) {
        StepRepeatRate(!left);
        co_return;
    }

    // A held modifier turns the steps into its own notes, whatever the jog-wheel setting.
    for (const JogModifier& modifier : kJogModifiers) {
        if (!bButtonLed[ButtonIndexOfLedId(modifier.ledId)])
            continue;
        co_await PulsedMidiOutPut(3, static_cast<int16_t>(modifier.leftNote + (left ? 0 : 1)));
        co_return;
    }

    const MappedMessage& mapped = mapping.jogWheel[left ? 0 : 1];
    const int16_t number = left ? intJogWheelLeft : intJogWheelRight;
    if (mapped.kind == MessageKind::Note)
        co_await PulsedNoteOut(3,
                               PulsedNote{mapped.number, static_cast<int16_t>(ChannelOf(mapped))});
    else if (mapped.Set())
        SendMapped(mapped, 127);
    else if (strJogWheelMode == "MIDI")
        co_await PulsedMidiOutPut(3, number);
    else
        SendCC(number, 127);
    DisplayText text(left ? "X--" : "--X");
    SetDisplay(text, true);
}
