#pragma once

#include <string>
#include <string_view>

// The registry's own export keeps expandable and multi-string data as UTF-16LE bytes, while the
// narrow calls see UTF-8. A byte that is not part of valid UTF-8 travels as the lone surrogate
// U+DC80..U+DCFF, so that any byte string comes back unchanged.
std::string Utf16LeFromNarrow(std::string_view narrow);
std::string NarrowFromUtf16Le(std::string_view utf16le);
