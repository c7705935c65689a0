#pragma once

#include <cstdint>

// What a setting holds when nothing usable is stored: written by the restore, offered by the
// dialog's "Restore Defaults".
inline constexpr int16_t kFirstRunChannel = 1;
inline constexpr int16_t kFirstRunJogWheelLeft = 40;
inline constexpr int16_t kFirstRunJogWheelRight = 41;
