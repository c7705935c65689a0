#include "Kit.h"

#include <gtest/gtest.h>

TEST(JogWheel, StepsWithoutModifierSendAndShowTheirDirection) {
    const struct {
        const char* mode;
        const char* value;
        const char* wire;
    } cases[] = {
        {"CC", "7F", "B0 27 7F, [00 00 00 00 00|2D 2D 58]"},
        {"CC", "01", "B0 28 7F, [00 00 00 00 00|58 2D 2D]"},
        {"", "7F", "B0 27 7F, [00 00 00 00 00|2D 2D 58]"}, // any other setting counts as CC
        {"MIDI", "7F", "90 28 7F, 90 28 00, [00 00 00 00 00|2D 2D 58]"},
        {"MIDI", "41", "90 29 7F, 90 29 00, [00 00 00 00 00|58 2D 2D]"},
        {"CC", "7E", "B0 28 7F, [00 00 00 00 00|58 2D 2D]"}, // any value but 7F is right
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wire);
        Started h;
        ControllerEngine& m = h.main();
        m.strJogWheelMode = c.mode;
        m.intJogWheelLeft = 40;
        m.intJogWheelRight = 41;
        h.report(std::string("43 00 ") + c.value);
        EXPECT_EQ(h.wire(), W(c.wire));
        EXPECT_TRUE(m.tmrDisplay.isActive());
        h.clear();
        m.tmrDisplay_Timer();
        EXPECT_EQ(h.wire(), W("[00 00 00 00 00|2D 5F 2D]"));
    }
}

// A held modifier lights its LED, sends nothing itself, and makes the steps send its notes while
// the display stays as it was; let go, its LED goes out.
TEST(JogWheel, EachModifierSendsItsOwnNotes) {
    const struct {
        const char* sw;
        int index;
        const char* leds;
        const char* steps;
    } cases[] = {{"0B", 8, "00 00 00 40 00", "90 2A 7F, 90 2A 00, 90 2B 7F, 90 2B 00"},
                 {"0C", 9, "00 00 00 00 01", "90 2C 7F, 90 2C 00, 90 2D 7F, 90 2D 00"},
                 {"0F", 10, "00 00 00 00 08", "90 2E 7F, 90 2E 00, 90 2F 7F, 90 2F 00"}};
    for (const auto& c : cases) {
        for (const char* mode : {"CC", "MIDI"}) {
            SCOPED_TRACE(std::string(c.sw) + " " + mode);
            Started h;
            ControllerEngine& m = h.main();
            m.strJogWheelMode = mode;
            m.intJogWheelLeft = 40;
            m.intJogWheelRight = 41;
            Show(m, "TRK", false);
            h.clear();
            Switches(h, std::string(c.sw) + "+");
            EXPECT_TRUE(m.bButtonLed[c.index]);
            EXPECT_EQ(h.wire(), W(std::string("[") + c.leds + "|4B 52 54]"));
            h.clear();
            Reports(h, "43 00 7F, 43 00 01");
            EXPECT_EQ(h.wire(), W(c.steps));
            EXPECT_FALSE(m.tmrDisplay.isActive());
            h.clear();
            Switches(h, std::string(c.sw) + "-");
            EXPECT_FALSE(m.bButtonLed[c.index]);
            EXPECT_EQ(h.wire(), W("[00 00 00 00 00|4B 52 54]"));
        }
    }
}

// The first held modifier in the order 0B, 0C, 0F wins; once none is held the plain step is back.
TEST(JogWheel, FirstHeldModifierWinsAndReleaseGivesThePlainStepBack) {
    Started h;
    h.main().strJogWheelMode = "CC";
    h.main().intJogWheelLeft = 40;
    Switches(h, "0F+ 0C+");
    h.clear();
    h.report("43 00 7F");
    EXPECT_EQ(h.wire(), W("90 2C 7F, 90 2C 00"));
    Switches(h, "0C- 0B+");
    h.clear();
    h.report("43 00 01");
    EXPECT_EQ(h.wire(), W("90 2B 7F, 90 2B 00"));
    Switches(h, "0B- 0F-");
    h.clear();
    h.report("43 00 7F");
    EXPECT_EQ(h.wire(), W("B0 27 7F, [00 00 00 00 00|2D 2D 58]"));
}
