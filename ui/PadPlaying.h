#pragma once

#include <algorithm>
#include <cmath>
#include <string_view>

// How the screen plays the pads. The pads are laid out as on the controller's face: pad 1 top
// left, reading like text, pad 16 bottom right; the computer keys 1 2 3 4 / Q W E R / A S D F /
// Z X C V play them in the same places.
inline constexpr std::string_view kPadKeys = "1234QWERASDFZXCV";
inline constexpr int kPadColumns = 4;
// Keys carry no force: a key hits with this velocity.
inline constexpr int kKeyVelocity = 0x64;

// The pad a key plays (by its code, which for these keys is the upper-case character), or -1.
inline int PadOfKey(int key) {
    const size_t at = kPadKeys.find(static_cast<char>(key));
    return key > 0 && key < 0x80 && at != std::string_view::npos ? static_cast<int>(at) : -1;
}

// A hit's velocity from where it lands: 127 at the pad's top edge down to 1 at its bottom.
inline int VelocityAt(double fromTop) {
    return 1 + static_cast<int>(std::lround(126 * (1 - std::clamp(fromTop, 0.0, 1.0))));
}
