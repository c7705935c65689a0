#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers typed by the user or stored as settings: a decimal number, optionally signed, with the
// decimal separator of the user's locale; blanks around it are ignored.

// The decimal separator of the user's locale ("." when it names none).
std::string LocaleDecimalSeparator();

// The number in text; nothing when text is not a number.
std::optional<double> NumberOfText(std::string_view text,
                                   std::string_view separator = LocaleDecimalSeparator());

// The number rounded to the nearest integer, halves to the even one; nothing when text is not a
// number or the result does not fit 16 bits.
std::optional<int16_t> IntegerOfText(std::string_view text,
                                     std::string_view separator = LocaleDecimalSeparator());
