#include "Kit.h"

#include <gtest/gtest.h>

// Bank 2 selected; pads 2 and 9 have the button's mode, pads 2 and 5 are lit (set after the
// last LED packet, so the display packet still carries that packet's LED bytes).
TEST(ModeButtons, ShowTheirModeWhileHeldAndThePadsOwnStatesAfter) {
    const struct {
        const char* sw;
        const char* mode;
        const char* text; // display bytes while held
        const char* l3l4; // LED bytes 3 and 4 with the button lit
    } cases[] = {{"00", "TOGGLE", "4C 47 54", "04 00"},
                 {"01", "CN1", "31 4E 43", "08 00"},
                 {"02", "TRK", "4B 52 54", "10 00"},
                 {"09", "CN2", "32 4E 43", "00 10"},
                 {"0A", "FDB", "42 44 46", "00 20"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Started h;
        ControllerEngine& m = h.main();
        m.strBankSelectMidiCC = "CC";
        h.run(m.ZivUvozaro_SetBank(1));
        SetPad(m, 2, 1, c.mode, true);
        SetPad(m, 9, 1, c.mode);
        m.bPadState[5][1] = true;
        m.strPadMode[4][0] = c.mode;
        h.clear();

        Switches(h, std::string(c.sw) + "+");
        const std::string view = std::string("04 04 ") + c.l3l4 + " 20";
        EXPECT_EQ(h.wire(),
                  W(std::string("[00 00 00 00 20|") + c.text + "], [" + view + "|" + c.text + "]"));
        EXPECT_EQ(m.strButtonMode, c.mode);
        EXPECT_FALSE(m.tmrDisplay.isActive());
        EXPECT_EQ(Lit(m), "2/1 9/1") << "other banks keep their states";

        h.clear();
        Switches(h, std::string(c.sw) + "-");
        EXPECT_EQ(h.wire(), W("[" + view + "|2D 5F 2D], [24 00 00 00 20|2D 5F 2D]"));
        EXPECT_EQ(m.strButtonMode, "");
        EXPECT_EQ(Lit(m), "2/1 5/1");
        EXPECT_FALSE(m.tmrDisplay.isActive());
    }
}

TEST(ModeButtons, SendNoMidiAndCancelAPendingBankText) {
    Started h;
    ControllerEngine& m = h.main();
    h.run(m.ZivUvozaro_SetBank(0));
    Show(m, "B 1", true);
    h.clear();
    Switches(h, "00+");
    EXPECT_FALSE(m.tmrDisplay.isActive());
    Switches(h, "00-");
    EXPECT_EQ(h.wire(), W("[00 00 00 00 10|4C 47 54], [00 00 04 00 10|4C 47 54],"
                          "[00 00 04 00 10|2D 5F 2D], [00 00 00 00 10|2D 5F 2D]"));
}

// Press, release, press, release. Momentary: on with the press, off with the release. Toggled:
// on with the first press, off with the second, the LED showing the latch.
TEST(KnobAssign, MomentaryAndToggledWithBothSettings) {
    const struct {
        const char* sw;
        bool toggled, latched; // assign toggled; knob state on before
        const char* mode;
        const char* message; // status and number
        const char* l5;      // LED byte 5 with the button lit
        const char* states;  // the knob state after each step
    } cases[] = {{"0D", false, false, "MIDI", "90 17", "02", "0000"},
                 {"0E", false, false, "CC", "B0 23", "04", "0000"},
                 {"0D", false, true, "", "B0 17", "02", "1111"}, // the latch stays
                 {"0E", false, false, "MIDI", "90 23", "04", "0000"},
                 {"0D", true, false, "MIDI", "90 17", "02", "1100"},
                 {"0E", true, false, "CC", "B0 23", "04", "1100"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sw) + c.mode + (c.toggled ? " toggled" : ""));
        Started h;
        ControllerEngine& m = h.main();
        m.bAssignToggled = c.toggled;
        m.strKnobMode = c.mode;
        bool& state = std::string(c.sw) == "0D" ? m.bKnob1State : m.bKnob2State;
        state = c.latched;
        std::string states;
        for (const char* step : {"+", "-", "+", "-"}) {
            Switches(h, c.sw + std::string(step));
            states += state ? "1" : "0";
        }
        const std::string on = std::string(c.message) + " 7F, ",
                          off = std::string(c.message) + " 00, ",
                          lit = std::string("[00 00 00 00 ") + c.l5 + "], ",
                          dark = "[00 00 00 00 00], ";
        EXPECT_EQ(h.wire(), W(c.toggled ? on + lit + lit + off + dark + dark
                                        : on + lit + off + dark + on + lit + off + dark));
        EXPECT_EQ(states, c.states);
    }
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
        Started h;
        h.main().intMidiChannel = 2;
        h.main().strKnobMode = "CC";
        Switches(h, std::string(c.sw) + "+ " + c.sw + "-");
        const std::string note = std::string("92 ") + c.note;
        EXPECT_EQ(h.wire(), W(note + " 7F, [" + c.leds + "], " + note + " 00, [00 00 00 00 00]"));
    }
}

TEST(Buttons, UnknownSwitchesAndIdsDoNothing) {
    Started h;
    ControllerEngine& m = h.main();
    for (const char* sw : {"13", "20", "7F", "0a", "", "1D"})
        for (bool pressed : {true, false})
            h.run(m.ZivUvozaro_ButtonMatrix(sw, pressed));
    for (const char* id : {"00", "0F", "23", "1d", ""})
        h.run(m.ZivUvozaro_ButtonPressed(id, true));
    h.report("48 20 7F");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bButtonLed, (std::array<bool, ControllerState::kButtons>{}));
}
