#include "Kit.h"

#include <gtest/gtest.h>

TEST(Display, ReversesPadsAndCutsIntoTheLedPacket) {
    const struct {
        const char* given;
        const char* bytes;    // display bytes in the packet
        const char* returned; // what the caller's text holds afterwards
    } cases[] = {{"TGL", "4C 47 54", "LGT"}, {"", "2D 5F 2D", "-_-"},
                 {"B 1", "31 20 42", "1 B"}, {"A", "41 20 20", "A  "},
                 {"AB", "42 41 20", "BA "},  {"ABCD", "44 43 42", "DCB"},
                 {"X--", "2D 2D 58", "--X"}, {"\x01\x7F\xE9", "3F 3F 3F", "???"}};
    for (const auto& c : cases) {
        Started h;
        DisplayText text = c.given;
        h.main().SetDisplay(text, false);
        const Wire packet = W(std::string("[00 00 00 00 00|") + c.bytes + "]");
        EXPECT_EQ(h.wire(), packet);
        EXPECT_EQ(h.main().strLedSysEx, packet[0]);
        EXPECT_EQ(text, c.returned);
    }
}

TEST(Display, KeepsTheLedBytesAndFallsBackToTheIdleTextWhenTimed) {
    Started h;
    ControllerEngine& m = h.main();
    m.bPadState[0][0] = m.bPadState[6][0] = true;
    m.ZivUvozaro_SetLights();
    Show(m, "B 1", true);
    EXPECT_TRUE(m.tmrDisplay.isActive());
    EXPECT_EQ(m.tmrDisplay.interval(), 500);
    m.bPadState[7][0] = true;
    m.ZivUvozaro_SetLights();
    m.tmrDisplay_Timer();
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_EQ(h.wire(), W("[41 00 00 00 00], [41 00 00 00 00|31 20 42], [41 01 00 00 00|31 20 42],"
                          "[41 01 00 00 00|2D 5F 2D]"));
    Show(m, "B 2", true);
    Show(m, "TRK", false); // an untimed text cancels the pending fall-back
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_EQ(h.wire().back(), W("[41 01 00 00 00|4B 52 54]")[0]);
}

TEST(Display, TextForTimeGoesAloneAndLeavesThePacket) {
    Started h;
    ControllerEngine& m = h.main();
    Show(m, "CN1", false);
    h.clear();
    const std::string packet = m.strLedSysEx.str();
    h.run(m.SetDisplayForTime(""));
    EXPECT_TRUE(h.wire().empty());
    h.run(m.SetDisplayForTime("FDBX"));
    h.run(m.SetDisplayForTime("A"));
    EXPECT_EQ(h.wire(), (Wire{"f0 42 40 6e 08 22 04 00  46 44 42 F7",
                              "f0 42 40 6e 08 22 04 00  41 20 20 F7"}));
    EXPECT_EQ(m.strLedSysEx, packet);
    EXPECT_FALSE(m.tmrDisplay.isActive());
}
