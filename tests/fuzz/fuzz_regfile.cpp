// Any text through the store's file parser. Whatever it accepts must come back the same when
// written out and read again, and writing that again must give the very same text.
#include "settings/RegFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
[[noreturn]] void fail(const char* what, const std::string& written) {
    std::fprintf(stderr, "%s; written text:\n%s\n", what, written.c_str());
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parsed = ParseRegText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed)
        return 0;
    const std::string written = RegText(*parsed);
    const auto again = ParseRegText(written);
    if (!again)
        fail("the written text does not parse", written);
    if (*again != *parsed)
        fail("the written text reads back different", written);
    if (RegText(*again) != written)
        fail("writing again gives a different text", written);
    return 0;
}
