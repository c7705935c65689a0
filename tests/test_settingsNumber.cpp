#include "settings/TextNumber.h"

#include <gtest/gtest.h>

TEST(SettingsNumber, IntegerOfTextRoundsHalvesToEven) {
    const std::optional<int16_t> none;
    const struct {
        const char* text;
        const char* separator;
        std::optional<int16_t> integer;
    } cases[] = {{"7", ".", 7},           {" 7", ".", 7},         {"\t7  ", ".", 7},
                 {"+3", ".", 3},          {"-5", ".", -5},        {"0", ".", 0},
                 {"0.5", ".", 0},         {"1.5", ".", 2},        {"2.5", ".", 2},
                 {"3.5", ".", 4},         {"-2.5", ".", -2},      {"2.51", ".", 3},
                 {".5", ".", 0},          {"5.", ".", 5},         {"1,5", ",", 2},
                 {"16,4", ",", 16},       {"1.5", ",", none},     {"32767", ".", 32767},
                 {"32767.4", ".", 32767}, {"32767.5", ".", none}, {"-32768", ".", -32768},
                 {"-32768.6", ".", none}, {"40000", ".", none},   {"", ".", none},
                 {"  ", ".", none},       {"abc", ".", none},     {"12abc", ".", none},
                 {"1 2", ".", none},      {"- 1", ".", none},     {"-", ".", none},
                 {".", ".", none},        {"1.2.3", ".", none},   {"1e3", ".", none},
                 {"0x10", ".", none},     {"&H10", ".", none},    {"true", ".", none}};
    for (const auto& c : cases)
        EXPECT_EQ(IntegerOfText(c.text, c.separator), c.integer) << '"' << c.text << '"';
    const std::string separator = LocaleDecimalSeparator(); // the default
    EXPECT_EQ(IntegerOfText("2" + separator + "5"), 2);
    EXPECT_EQ(IntegerOfText("3" + separator + "5"), 4);
}

TEST(SettingsNumber, NumberOfTextKeepsTheFraction) {
    EXPECT_EQ(NumberOfText("16.4", "."), 16.4);
    EXPECT_EQ(NumberOfText(" -0,25 ", ","), -0.25);
    EXPECT_EQ(NumberOfText("99999", "."), 99999.0);
    EXPECT_FALSE(NumberOfText("", "."));
}
