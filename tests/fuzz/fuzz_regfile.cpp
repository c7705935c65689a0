// Any text through the store's file parser. Whatever it accepts must come back the same when
// written out and read again, and writing that again must give the very same text. The same bytes
// as the data of one value (of the type the first byte names) must come back byte for byte, as
// the file held them: odd lengths, lone surrogates and NULs included.
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

void checkRoundTrip(std::string_view text) {
    const auto parsed = ParseRegText(text);
    if (!parsed)
        return;
    const std::string written = RegText(*parsed);
    const auto again = ParseRegText(written);
    if (!again)
        fail("the written text does not parse", written);
    if (*again != *parsed)
        fail("the written text reads back different", written);
    if (RegText(*again) != written)
        fail("writing again gives a different text", written);
}

// The stored bytes of the only value of the only key below the root.
std::string onlyValue(const RegDocument& document) {
    return RegStoredBytes(document.keys().back().values().front());
}

void checkValueBytes(std::string_view input) {
    if (input.empty())
        return;
    const unsigned type = static_cast<unsigned char>(input[0]) % 12;
    const std::string_view bytes = input.substr(1);
    std::string text = "Windows Registry Editor Version 5.00\n[HKEY_USERS\\F]\n\"v\"=hex(" +
                       std::to_string(type) + "):";
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", static_cast<unsigned char>(bytes[i]));
        text += hex;
    }
    const auto parsed = ParseRegText(text + "\n");
    if (!parsed)
        fail("a value's hex list does not parse", text);
    if (onlyValue(*parsed) != bytes)
        fail("a value's bytes read back different", text);
    const std::string written = RegText(*parsed);
    const auto again = ParseRegText(written);
    if (!again || onlyValue(*again) != bytes)
        fail("a value's bytes write back different", written);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkRoundTrip(input);
    checkValueBytes(input);
    return 0;
}
