#include "settings/TextNumber.h"

#include <charconv>
#include <clocale>
#include <cmath>

namespace {
bool digit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

std::string LocaleDecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    if (!conventions || !conventions->decimal_point || !conventions->decimal_point[0])
        return ".";
    return conventions->decimal_point;
}

std::optional<double> NumberOfText(std::string_view text, std::string_view separator) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);

    // Rewritten in the one form from_chars reads: sign, digits, ".", digits.
    std::string plain;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '-')
            plain += '-';
        text.remove_prefix(1);
    }
    bool digits = false;
    bool fraction = false;
    while (!text.empty()) {
        if (digit(text.front())) {
            digits = true;
            plain += text.front();
            text.remove_prefix(1);
        } else if (!fraction && !separator.empty() && text.starts_with(separator)) {
            fraction = true;
            plain += '.';
            text.remove_prefix(separator.size());
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int16_t> IntegerOfText(std::string_view text, std::string_view separator) {
    const auto number = NumberOfText(text, separator);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number); // the default mode rounds halves to even
    if (rounded < INT16_MIN || rounded > INT16_MAX)
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}
