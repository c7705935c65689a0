#include "engine/ButtonTable.h"
#include "engine/ControllerEngine.h"
#include "engine/ModeButtons.h"

#include <algorithm>

namespace {
struct KnobAssign {
    std::string_view ledId;
    int16_t number; // note, or wire controller number
    bool ControllerState::*state;
};
constexpr KnobAssign kKnobAssigns[] = {{kKnobAssignLedIds[0], 23, &ControllerState::bKnob1State},
                                       {kKnobAssignLedIds[1], 35, &ControllerState::bKnob2State}};

// While a mode view is shown, the pads of the current bank show mode membership and keep their
// own states aside for that bank; so a second mode button and the bank buttons do nothing then,
// not even light up or change the display.
bool ignored(const ControllerState& state, std::string_view ledId, bool pressed) {
    if (const ModeButton* mode = FindModeButton(ledId))
        return !ModeButtonActs(state, *mode, pressed);
    return BankOfButton(ledId) >= 0 && !state.strButtonMode.empty();
}
} // namespace

Task ControllerEngine::ZivUvozaro_ButtonMatrix(std::string_view strID, bool bolPressed) {
    const int index = ButtonIndexOfSwitch(strID);
    if (index < 0)
        co_return;
    const FixedText<2> ledId = strButtonLedId[index];
    if (ignored(*this, ledId, bolPressed))
        co_return;
    const int bank = BankOfButton(ledId);
    if (bank < 0)
        bButtonLed[index] = bolPressed; // the bank buttons' LEDs show the selected bank instead
    co_await ZivUvozaro_ButtonPressed(ledId, bolPressed);
    // The text names the selected bank, which is this button's unless another bank press came
    // in meanwhile; a mode view opened inside the bank output's wait keeps its name shown.
    if (bank >= 0 && strButtonMode.empty()) {
        DisplayText text("B ");
        text += static_cast<char>('1' + intCurrentBank);
        SetDisplay(text, true);
    }
}

Task ControllerEngine::ZivUvozaro_ButtonPressed(std::string_view strID, bool bolOnOff) {
    if (const ModeButton* mode = FindModeButton(strID)) {
        if (bolOnOff) {
            strButtonMode = mode->mode;
            DisplayText text(mode->text);
            SetDisplay(text, false);
            mode->showView(*this, intCurrentBank);
        } else {
            strButtonMode.clear();
            DisplayText idle;
            SetDisplay(idle, false);
            ZivUvozaro_RecreatePadstate(intCurrentBank);
        }
        ZivUvozaro_SetLights();
        co_return;
    }

    if (const int bank = BankOfButton(strID); bank >= 0) {
        if (bolOnOff)
            co_await ZivUvozaro_SetBank(static_cast<int16_t>(bank));
        co_return;
    }

    for (const KnobAssign& knob : kKnobAssigns) {
        if (knob.ledId != strID)
            continue;
        auto send = [&](bool on) {
            if (strKnobMode == "MIDI")
                SendNote(knob.number, on ? 127 : 0);
            else
                SendCC(static_cast<int16_t>(knob.number + 1), on ? 127 : 0);
        };
        if (!bAssignToggled) {
            send(bolOnOff);
        } else if (bolOnOff) {
            bool& latched = this->*knob.state;
            latched = !latched;
            send(latched);
        }
        ZivUvozaro_SetLights();
        co_return;
    }

    // The jog wheel reads the modifiers' held state; the buttons only light while held.
    if (std::any_of(kJogModifiers.begin(), kJogModifiers.end(),
                    [&](const JogModifier& m) { return m.ledId == strID; })) {
        ZivUvozaro_SetLights();
        co_return;
    }

    for (size_t i = 0; i < kNoteButtonLedIds.size(); ++i) {
        if (kNoteButtonLedIds[i] != strID)
            continue;
        const auto note = static_cast<int16_t>(kFirstButtonNote + i);
        // Taken by note repeat, the button only lights while held.
        if (!TakeRepeatControl(NoteButtonControl(static_cast<int>(i)), bolOnOff))
            SendNote(note, bolOnOff ? 127 : 0);
        ZivUvozaro_SetLights();
        co_return;
    }
}
