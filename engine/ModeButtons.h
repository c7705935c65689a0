#pragma once

#include <cstdint>
#include <string_view>

class ControllerEngine;
struct ControllerState;

// The five mode buttons. While one is held, the pads of the current bank show which of them have
// its mode (the mode view), and a pad hit gives or takes that mode.
struct ModeButton {
    std::string_view ledId;
    std::string_view mode;
    std::string_view text; // shown on the display while held
    void (*showView)(ControllerEngine& engine, int16_t bank);
};

// The mode button with this LED id, or nullptr.
const ModeButton* FindModeButton(std::string_view ledId);

// Only one mode view at a time: a mode button acts on its press when no view is shown, and on
// its release when it is the button that opened the shown view.
bool ModeButtonActs(const ControllerState& state, const ModeButton& button, bool pressed);

// Ends a shown mode view without its button's release: the pads of the current bank get their
// own states back and the button goes dark; its later release then changes nothing.
void EndModeView(ControllerEngine& engine);
