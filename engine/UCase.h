#pragma once

#include "engine/FixedText.h"

#include <string_view>

// Upper-cases ASCII letters; mode and setting texts compare in this form.
inline FixedText<31> UCase(std::string_view text) {
    FixedText<31> upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i)
        if (upper[i] >= 'a' && upper[i] <= 'z')
            upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
    return upper;
}
