#include "ui/ButtonRoles.h"

#include "engine/ButtonTable.h"
#include "engine/ModeButtons.h"

#include <algorithm>

namespace {
template <typename List, typename Id> int indexIn(const List& list, Id id) {
    const auto at = std::find(list.begin(), list.end(), id);
    return at == list.end() ? -1 : static_cast<int>(at - list.begin());
}

ButtonRole numbered(ButtonRole::Kind kind, int number, const std::string& caption,
                    const std::string& before, const std::string& after) {
    const std::string shown = std::to_string(number + 1);
    return {kind, number, caption + " " + shown, before + shown + after};
}
} // namespace

ButtonRole RoleOfButton(int button) {
    const std::string_view id = native::kButtonLedIds.at(button);
    if (const ModeButton* mode = FindModeButton(id)) {
        const auto first = native::kButtonLedIds.begin();
        const int number = static_cast<int>(std::count_if(
            first, first + button, [](std::string_view other) { return FindModeButton(other); }));
        const std::string name(mode->mode);
        return {ButtonRole::Mode, number, name, name + " button"};
    }
    if (const int bank = BankOfButton(id); bank >= 0)
        return numbered(ButtonRole::Bank, bank, "BANK", "bank button ", "");
    std::array<std::string_view, kJogModifiers.size()> jogIds;
    std::transform(kJogModifiers.begin(), kJogModifiers.end(), jogIds.begin(),
                   [](const JogModifier& m) { return m.ledId; });
    if (const int jog = indexIn(jogIds, id); jog >= 0)
        return numbered(ButtonRole::JogModifier, jog, "JOG", "jog modifier ", "");
    if (const int note = indexIn(kNoteButtonLedIds, id); note >= 0)
        return numbered(ButtonRole::Note, note, "NOTE", "note button ", "");
    // The two left are the knobs' assign buttons.
    return numbered(ButtonRole::KnobAssign, indexIn(kKnobAssignLedIds, id), "ASSIGN", "knob ",
                    " assign button");
}

bool Latches(int button) {
    const ButtonRole::Kind kind = RoleOfButton(button).kind;
    return kind == ButtonRole::Mode || kind == ButtonRole::Bank;
}
