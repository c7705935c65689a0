#include "settings/TextNumber.h"

#include <gtest/gtest.h>

struct NumberCase {
    const char* text;
    const char* separator;
    std::optional<int16_t> integer;
};

class SettingsIntegerOfText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SettingsIntegerOfText, RoundsHalvesToEven) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(IntegerOfText(c.text, c.separator), c.integer) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsIntegerOfText,
    ::testing::Values(
        NumberCase{"7", ".", 7}, NumberCase{" 7", ".", 7}, NumberCase{"\t7  ", ".", 7},
        NumberCase{"+3", ".", 3}, NumberCase{"-5", ".", -5}, NumberCase{"0", ".", 0},
        NumberCase{"0.5", ".", 0}, NumberCase{"1.5", ".", 2}, NumberCase{"2.5", ".", 2},
        NumberCase{"3.5", ".", 4}, NumberCase{"-2.5", ".", -2}, NumberCase{"2.51", ".", 3},
        NumberCase{".5", ".", 0}, NumberCase{"5.", ".", 5}, NumberCase{"1,5", ",", 2},
        NumberCase{"16,4", ",", 16}, NumberCase{"1.5", ",", std::nullopt},
        NumberCase{"32767", ".", 32767}, NumberCase{"32767.4", ".", 32767},
        NumberCase{"32767.5", ".", std::nullopt}, NumberCase{"-32768", ".", -32768},
        NumberCase{"-32768.6", ".", std::nullopt}, NumberCase{"40000", ".", std::nullopt},
        NumberCase{"", ".", std::nullopt}, NumberCase{"  ", ".", std::nullopt},
        NumberCase{"abc", ".", std::nullopt}, NumberCase{"12abc", ".", std::nullopt},
        NumberCase{"1 2", ".", std::nullopt}, NumberCase{"- 1", ".", std::nullopt},
        NumberCase{"-", ".", std::nullopt}, NumberCase{".", ".", std::nullopt},
        NumberCase{"1.2.3", ".", std::nullopt}, NumberCase{"1e3", ".", std::nullopt},
        NumberCase{"0x10", ".", std::nullopt}, NumberCase{"&H10", ".", std::nullopt},
        NumberCase{"true", ".", std::nullopt}));

TEST(SettingsNumberOfText, KeepsTheFraction) {
    EXPECT_EQ(NumberOfText("16.4", "."), 16.4);
    EXPECT_EQ(NumberOfText(" -0,25 ", ","), -0.25);
    EXPECT_EQ(NumberOfText("99999", "."), 99999.0);
    EXPECT_FALSE(NumberOfText("", "."));
}

TEST(SettingsNumberOfText, UsesTheLocaleSeparatorByDefault) {
    const std::string separator = LocaleDecimalSeparator();
    EXPECT_EQ(IntegerOfText("2" + separator + "5"), 2);
    EXPECT_EQ(IntegerOfText("3" + separator + "5"), 4);
}
