#pragma once

#include <string>

inline constexpr const char* kIdleDisplayText = "-_-";

// The text with its characters in reverse order.
std::string TurnString(const std::string& strString);

// Exactly three characters: blanks appended to a shorter text, a longer one cut after three.
// Characters the display cannot show become '?'.
std::string DisplayCharacters(std::string text);
