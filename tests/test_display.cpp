#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
struct DisplayCase {
    const char* given;
    const char* bytes;    // display bytes in the packet
    const char* returned; // what the caller's text holds afterwards
};

class DisplayTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayTest, ReversesPadsAndCutsIntoTheLedPacket) {
    Harness h;
    h.load();
    std::string text = GetParam().given;
    h.main().SetDisplay(text, false);
    EXPECT_EQ(h.wire(), WireTexts{LedPacket("00 00 00 00 00", GetParam().bytes)});
    EXPECT_EQ(h.main().strLedSysEx, LedPacket("00 00 00 00 00", GetParam().bytes));
    EXPECT_EQ(text, GetParam().returned);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DisplayTest,
    ::testing::Values(DisplayCase{"TGL", "4C 47 54", "LGT"}, DisplayCase{"", "2D 5F 2D", "-_-"},
                      DisplayCase{"B 1", "31 20 42", "1 B"}, DisplayCase{"A", "41 20 20", "A  "},
                      DisplayCase{"AB", "42 41 20", "BA "}, DisplayCase{"ABCD", "44 43 42", "DCB"},
                      DisplayCase{"X--", "2D 2D 58", "--X"},
                      DisplayCase{"\x01\x7F\xE9", "3F 3F 3F", "???"}));

TEST(Display, KeepsTheLedBytesAndLedUpdatesKeepTheText) {
    Harness h;
    h.load();
    h.main().bPadState[0][0] = true;
    h.main().bPadState[6][0] = true;
    h.main().ZivUvozaro_SetLights();
    std::string text = "B 1";
    h.main().SetDisplay(text, false);
    h.main().bPadState[7][0] = true;
    h.main().ZivUvozaro_SetLights();
    EXPECT_EQ(h.wire(), (WireTexts{LedPacket("41 00 00 00 00", "00 00 00"),
                                   LedPacket("41 00 00 00 00", "31 20 42"),
                                   LedPacket("41 01 00 00 00", "31 20 42")}));
}

TEST(Display, TimedTextFallsBackToTheIdleText) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    std::string text = "B 1";
    m.SetDisplay(text, true);
    EXPECT_TRUE(m.tmrDisplay.isActive());
    EXPECT_EQ(m.tmrDisplay.interval(), 500);
    m.tmrDisplay_Timer();
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_EQ(h.wire(), (WireTexts{LedPacket("00 00 00 00 00", "31 20 42"),
                                   LedPacket("00 00 00 00 00", "2D 5F 2D")}));
}

TEST(Display, UntimedTextCancelsAPendingFallBack) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    std::string timed = "B 2";
    m.SetDisplay(timed, true);
    std::string untimed = "TRK";
    m.SetDisplay(untimed, false);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_EQ(h.wire().back(), LedPacket("00 00 00 00 00", "4B 52 54"));
}

TEST(Display, TextForTimeGoesAloneAndLeavesThePacket) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    std::string shown = "CN1";
    m.SetDisplay(shown, false);
    h.clear();
    const std::string packet = m.strLedSysEx;

    m.SetDisplayForTime("");
    EXPECT_TRUE(h.wire().empty());
    m.SetDisplayForTime("FDBX");
    m.SetDisplayForTime("A");
    EXPECT_EQ(h.wire(), (WireTexts{"f0 42 40 6e 08 22 04 00  46 44 42 F7",
                                   "f0 42 40 6e 08 22 04 00  41 20 20 F7"}));
    EXPECT_EQ(m.strLedSysEx, packet);
    EXPECT_FALSE(m.tmrDisplay.isActive());
}
} // namespace
