#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
struct ModeCase {
    const char* sw;
    const char* mode;
    const char* text; // display bytes while held
    const char* l3l4; // LED bytes 3 and 4 with the button lit
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.mode;
}

class ModeButtonTest : public ::testing::TestWithParam<ModeCase> {};

// Bank 2 selected; pads 2 and 9 have the button's mode, pads 2 and 5 are lit (set after the
// last LED packet, so the display packet still carries that packet's LED bytes).
TEST_P(ModeButtonTest, ShowsItsModeWhileHeldAndThePadsOwnStatesAfter) {
    const ModeCase& c = GetParam();
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strBankSelectMidiCC = "CC";
    m.ZivUvozaro_SetBank(1);
    m.strPadMode[2][1] = c.mode;
    m.strPadMode[9][1] = c.mode;
    m.bPadState[2][1] = true;
    m.bPadState[5][1] = true;
    m.strPadMode[4][0] = c.mode;
    h.clear();

    h.report(std::string("48 ") + c.sw + " 7F");
    const std::string view = std::string("04 04 ") + c.l3l4 + " 20";
    EXPECT_EQ(h.wire(), (WireTexts{LedPacket("00 00 00 00 20", c.text), LedPacket(view, c.text)}));
    EXPECT_EQ(m.strButtonMode, c.mode);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_FALSE(m.bPadState[4][0]) << "other banks keep their states";

    h.clear();
    h.report(std::string("48 ") + c.sw + " 00");
    EXPECT_EQ(h.wire(),
              (WireTexts{LedPacket(view, "2D 5F 2D"), LedPacket("24 00 00 00 20", "2D 5F 2D")}));
    EXPECT_EQ(m.strButtonMode, "");
    EXPECT_TRUE(m.bPadState[2][1]);
    EXPECT_TRUE(m.bPadState[5][1]);
    EXPECT_FALSE(m.bPadState[9][1]);
    EXPECT_FALSE(m.tmrDisplay.isActive());
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeButtonTest,
                         ::testing::Values(ModeCase{"00", "TOGGLE", "4C 47 54", "04 00"},
                                           ModeCase{"01", "CN1", "31 4E 43", "08 00"},
                                           ModeCase{"02", "TRK", "4B 52 54", "10 00"},
                                           ModeCase{"09", "CN2", "32 4E 43", "00 10"},
                                           ModeCase{"0A", "FDB", "42 44 46", "00 20"}));

TEST(ModeButtons, SendNoMidiAndCancelAPendingBankText) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.ZivUvozaro_SetBank(0);
    std::string bankText = "B 1";
    m.SetDisplay(bankText, true);
    h.clear();
    h.report("48 00 7F");
    EXPECT_FALSE(m.tmrDisplay.isActive());
    h.report("48 00 00");
    for (const std::string& text : h.wire())
        EXPECT_EQ(text.rfind("F0 42 40 6E 08 3F 0A 01", 0), 0u) << text;
}

struct KnobStep {
    bool pressed;
    WireTexts midi; // MIDI sent before the LED packet
    const char* l5; // LED byte 5 afterwards
};
struct KnobCase {
    const char* name;
    const char* sw;
    bool toggled;
    const char* mode;
    std::vector<KnobStep> steps;
};

const KnobCase kKnobCases[] = {
    {"knob 1 momentary MIDI",
     "0D",
     false,
     "MIDI",
     {{true, {"90 17 7F"}, "02"}, {false, {"90 17 00"}, "00"}}},
    {"knob 2 momentary CC",
     "0E",
     false,
     "CC",
     {{true, {"B0 23 7F"}, "04"}, {false, {"B0 23 00"}, "00"}}},
    {"knob 1 momentary CC",
     "0D",
     false,
     "",
     {{true, {"B0 17 7F"}, "02"}, {false, {"B0 17 00"}, "00"}}},
    {"knob 2 momentary MIDI",
     "0E",
     false,
     "MIDI",
     {{true, {"90 23 7F"}, "04"}, {false, {"90 23 00"}, "00"}}},
    {"knob 1 toggled MIDI",
     "0D",
     true,
     "MIDI",
     {{true, {"90 17 7F"}, "02"},
      {false, {}, "02"},
      {true, {"90 17 00"}, "00"},
      {false, {}, "00"}}},
    {"knob 2 toggled CC",
     "0E",
     true,
     "CC",
     {{true, {"B0 23 7F"}, "04"},
      {false, {}, "04"},
      {true, {"B0 23 00"}, "00"},
      {false, {}, "00"}}},
};

TEST(KnobAssign, MomentaryAndToggledWithBothSettings) {
    for (const KnobCase& c : kKnobCases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        frmMain& m = h.main();
        m.bAssignToggled = c.toggled;
        m.strKnobMode = c.mode;
        bool& state = std::string(c.sw) == "0D" ? m.bKnob1State : m.bKnob2State;
        bool expectedState = false;
        for (const KnobStep& step : c.steps) {
            h.clear();
            h.report(std::string("48 ") + c.sw + (step.pressed ? " 7F" : " 00"));
            WireTexts expected = step.midi;
            expected.push_back(LedPacket(std::string("00 00 00 00 ") + step.l5, "00 00 00"));
            EXPECT_EQ(h.wire(), expected);
            if (c.toggled && step.pressed)
                expectedState = !expectedState;
            EXPECT_EQ(state, expectedState);
        }
    }
}

TEST(KnobAssign, MomentaryLeavesTheLatchAlone) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.bKnob1State = true;
    m.strKnobMode = "MIDI";
    h.report("48 0D 7F");
    h.report("48 0D 00");
    EXPECT_TRUE(m.bKnob1State);
    EXPECT_EQ(h.wire()[2], "90 17 00");
}

TEST(NoteButtons, SendTheirNoteWhateverTheSettings) {
    const struct {
        const char* sw;
        const char* note;
        const char* leds;
    } cases[] = {{"03", "41", "00 00 20 00 00"}, {"04", "42", "00 00 40 00 00"},
                 {"05", "43", "00 00 00 01 00"}, {"06", "44", "00 00 00 02 00"},
                 {"07", "45", "00 00 00 04 00"}, {"08", "46", "00 00 00 08 00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sw);
        Harness h;
        h.load();
        h.main().intMidiChannel = 2;
        h.main().strKnobMode = "CC";
        h.report(std::string("48 ") + c.sw + " 7F");
        h.report(std::string("48 ") + c.sw + " 00");
        EXPECT_EQ(h.wire(),
                  (WireTexts{std::string("92 ") + c.note + " 7F", LedPacket(c.leds, "00 00 00"),
                             std::string("92 ") + c.note + " 00",
                             LedPacket("00 00 00 00 00", "00 00 00")}));
    }
}

TEST(JogModifierButtons, OnlyLightWhileHeld) {
    const struct {
        const char* sw;
        int index;
        const char* leds;
    } cases[] = {
        {"0B", 8, "00 00 00 40 00"}, {"0C", 9, "00 00 00 00 01"}, {"0F", 10, "00 00 00 00 08"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sw);
        Harness h;
        h.load();
        h.report(std::string("48 ") + c.sw + " 7F");
        EXPECT_TRUE(h.main().bButtonLed[c.index]);
        h.report(std::string("48 ") + c.sw + " 00");
        EXPECT_FALSE(h.main().bButtonLed[c.index]);
        EXPECT_EQ(h.wire(), (WireTexts{LedPacket(c.leds, "00 00 00"),
                                       LedPacket("00 00 00 00 00", "00 00 00")}));
    }
}

TEST(Buttons, UnknownSwitchesAndIdsDoNothing) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    for (const char* sw : {"13", "20", "7F", "0a", "", "1D"})
        for (bool pressed : {true, false})
            m.ZivUvozaro_ButtonMatrix(sw, pressed);
    for (const char* id : {"00", "0F", "23", "1d", ""})
        m.ZivUvozaro_ButtonPressed(id, true);
    h.report("48 20 7F");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bButtonLed, (std::array<bool, ControllerState::kButtons>{}));
}
} // namespace
