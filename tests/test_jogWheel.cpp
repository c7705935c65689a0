#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
const std::string kLeftText = "2D 2D 58";  // "X--"
const std::string kRightText = "58 2D 2D"; // "--X"

struct JogCase {
    const char* name;
    const char* mode;
    const char* value;
    WireTexts midi; // what goes out before the display
    bool display;
};

const JogCase kPlain[] = {
    {"CC left", "CC", "7F", {"B0 27 7F"}, true},
    {"CC right", "CC", "01", {"B0 28 7F"}, true},
    {"other setting counts as CC", "", "7F", {"B0 27 7F"}, true},
    {"MIDI left", "MIDI", "7F", {"90 28 7F", "90 28 00"}, true},
    {"MIDI right", "MIDI", "41", {"90 29 7F", "90 29 00"}, true},
    {"any value but 7F is right", "CC", "7E", {"B0 28 7F"}, true},
};

TEST(JogWheel, StepsWithoutModifier) {
    for (const JogCase& c : kPlain) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        frmMain& m = h.main();
        m.strJogWheelMode = c.mode;
        m.intJogWheelLeft = 40;
        m.intJogWheelRight = 41;
        h.report(std::string("43 00 ") + c.value);
        WireTexts expected = c.midi;
        expected.push_back(
            LedPacket("00 00 00 00 00", c.value == std::string("7F") ? kLeftText : kRightText));
        EXPECT_EQ(h.wire(), expected);
        EXPECT_TRUE(m.tmrDisplay.isActive());
        h.clear();
        m.tmrDisplay_Timer();
        EXPECT_EQ(h.wire(), WireTexts{LedPacket("00 00 00 00 00", "2D 5F 2D")});
    }
}

TEST(JogWheel, EachModifierSendsItsOwnNotes) {
    const struct {
        const char* sw;
        const char* leds;
        const char* left;
        const char* right;
    } cases[] = {{"0B", "00 00 00 40 00", "2A", "2B"},
                 {"0C", "00 00 00 00 01", "2C", "2D"},
                 {"0F", "00 00 00 00 08", "2E", "2F"}};
    for (const auto& c : cases) {
        for (const char* mode : {"CC", "MIDI"}) {
            SCOPED_TRACE(std::string(c.sw) + " " + mode);
            Harness h;
            h.load();
            frmMain& m = h.main();
            m.strJogWheelMode = mode;
            m.intJogWheelLeft = 40;
            m.intJogWheelRight = 41;
            h.report(std::string("48 ") + c.sw + " 7F");
            std::string shown = "TRK";
            m.SetDisplay(shown, false);
            h.clear();
            h.report("43 00 7F");
            h.report("43 00 01");
            EXPECT_EQ(h.wire(), (WireTexts{std::string("90 ") + c.left + " 7F",
                                           std::string("90 ") + c.left + " 00",
                                           std::string("90 ") + c.right + " 7F",
                                           std::string("90 ") + c.right + " 00"}));
            EXPECT_FALSE(m.tmrDisplay.isActive());
            EXPECT_EQ(m.strLedSysEx, LedPacket(c.leds, "4B 52 54"));
        }
    }
}

TEST(JogWheel, FirstHeldModifierInOrderWins) {
    Harness h;
    h.load();
    h.report("48 0F 7F");
    h.report("48 0C 7F");
    h.clear();
    h.report("43 00 7F");
    EXPECT_EQ(h.wire(), (WireTexts{"90 2C 7F", "90 2C 00"}));
    h.report("48 0C 00");
    h.report("48 0B 7F");
    h.clear();
    h.report("43 00 01");
    EXPECT_EQ(h.wire(), (WireTexts{"90 2B 7F", "90 2B 00"}));
}

TEST(JogWheel, ReleasedModifierGivesThePlainStepBack) {
    Harness h;
    h.load();
    h.main().strJogWheelMode = "CC";
    h.main().intJogWheelLeft = 40;
    h.report("48 0B 7F");
    h.report("48 0B 00");
    h.clear();
    h.report("43 00 7F");
    EXPECT_EQ(h.wire(), (WireTexts{"B0 27 7F", LedPacket("00 00 00 00 00", kLeftText)}));
}
} // namespace
