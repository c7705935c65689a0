#pragma once

#include <string>

// Upper-cases ASCII letters; mode and setting texts compare in this form.
inline std::string UCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}
