#include "ui/PadLegend.h"

#include "engine/GroupSetting.h"
#include "engine/ModeButtons.h"
#include "engine/NativeMessages.h"
#include "engine/UCase.h"
#include "ui/NoteNames.h"

namespace {
using Output = PadLegend::Output;

// The held mode button's text for its mode; other modes show as they are stored.
std::string modeText(std::string_view mode) {
    for (std::string_view id : native::kButtonLedIds)
        if (const ModeButton* button = FindModeButton(id); button && button->mode == mode)
            return std::string(button->text);
    return std::string(mode);
}

// Flash and toggle pads send only for exactly "MIDI" or "CC".
Output exactKind(std::string_view setting) {
    return setting == "MIDI" ? Output::Notes
           : setting == "CC" ? Output::Controllers
                             : Output::Nothing;
}

Output notesOrControllers(bool notes) {
    return notes ? Output::Notes : Output::Controllers;
}

Output outputOf(const ControllerState& s, std::string_view mode) {
    if (mode == "FLASH")
        return exactKind(s.strFlashMidiCC);
    if (mode == "TOGGLE")
        return exactKind(s.strToggleMidiCC);
    if (mode.starts_with("CN")) {
        const SettingText* setting = GroupSetting(s, mode);
        return setting ? notesOrControllers(*setting == "MIDI") : Output::Nothing;
    }
    if (mode == "TRK")
        return notesOrControllers(UCase(s.strTRKMidiCC) == "MIDI");
    if (UCase(mode) == "FDB")
        return notesOrControllers(UCase(s.strFDBMidiCC) == "MIDI");
    return Output::Nothing;
}
} // namespace

std::string PadLegend::sends() const {
    if (mapped) {
        const std::string own = channel >= 0 ? " ch" + std::to_string(channel + 1) : "";
        const std::string n = std::to_string(number);
        switch (output) {
        case Notes:
            return NoteName(number).toStdString() + " " + n + own;
        case Controllers:
            return "CC " + n + own;
        case Programs:
            return "PC " + n + own;
        default:
            return {};
        }
    }
    switch (output) {
    case Notes:
        return "note " + std::to_string(number);
    case Controllers:
        return "CC " + std::to_string(number);
    default:
        return {};
    }
}

PadLegend LegendOf(const ControllerState& state, int pad, int bank) {
    const std::string_view mode = state.strPadMode.at(pad).at(bank);
    const MappedMessage& m = state.mapping.pads.at(pad).at(bank).message;
    if (m.Set()) {
        const Output kinds[] = {Output::Nothing, Output::Notes, Output::Controllers,
                                Output::Programs};
        return {modeText(mode), kinds[static_cast<int>(m.kind)], m.number, true, m.channel};
    }
    return {modeText(mode), outputOf(state, mode), ControllerState::PadNumber(bank, pad)};
}

const ModeName* FindModeName(std::string_view shortForm) {
    for (const ModeName& name : kModeNames)
        if (shortForm == name.shortForm)
            return &name;
    return nullptr;
}
