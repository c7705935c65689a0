#pragma once

#include "engine/ControllerState.h"

#include <string_view>

inline constexpr std::string_view kIdleDisplayText = "-_-";

// The text with its characters in reverse order.
DisplayText TurnString(std::string_view strString);

// Exactly three characters: blanks appended to a shorter text, a longer one cut after three.
// Characters the display cannot show become '?'.
FixedText<3> DisplayCharacters(std::string_view text);
