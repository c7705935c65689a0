#include "engine/HexText.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(HextoDec, ReadsHexDigitsByDistanceFromTheEnd) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"7F", 127},   {"7f", 127},
                 {"&H7F", 127}, {"", 0},
                 {"1 F", 271},  {"0G", 0},
                 {"4F", 79},    {"00", 0},
                 {"FF", 255},   {"7FFFFFFF", 2147483647},
                 {"G0", 0},     {"x1", 1},
                 {"1x", 16},    {"000000000000000A", 10}};
    for (const auto& c : cases)
        EXPECT_EQ(HextoDec(c.text), c.value) << '"' << c.text << '"';
    for (const std::string& text :
         {std::string("80000000"), std::string("100000000"), std::string(32768, '0')})
        EXPECT_THROW(HextoDec(text), std::overflow_error) << text.size();
}

TEST(StringToHex, EachCharacterAsBlankAndTwoUpperCaseDigits) {
    EXPECT_EQ(StringToHex("TGL"), " 54 47 4C");
    EXPECT_EQ(StringToHex("B 1"), " 42 20 31");
    EXPECT_EQ(StringToHex(""), "");
    EXPECT_EQ(StringToHex("\n"), " 0A");
}
