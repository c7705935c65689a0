#include "Kit.h"

#include <gtest/gtest.h>

// Each bank button from another bank, with one pad lit in every bank: the bank output, then the
// new bank's pads with its button lit, then "B n" until the fall-back; the release shows it again.
TEST(BankButtons, SelectSendShowAndFallBack) {
    const struct {
        const char* sw;
        int16_t bank;
        const char* leds;
        const char* text; // display bytes of "B n"
        const char* midi; // with "MIDI", on channel 16
        const char* cc;   // with "CC" or any other setting
    } cases[] = {
        {"10", 0, "01 00 00 00 10", "31 20 42", "9F 10 7F, 9F 10 00",
         "B0 10 7F, B0 12 00, B0 11 00"},
        {"11", 1, "00 01 00 00 20", "32 20 42", "9F 11 7F, 9F 11 00",
         "B0 11 7F, B0 12 00, B0 10 00"},
        {"12", 2, "00 00 02 00 40", "33 20 42", "9F 12 7F, 9F 12 00",
         "B0 12 7F, B0 11 00, B0 10 00"},
    };
    for (const char* setting : {"MIDI", "CC", "midi"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(setting) + " bank button " + c.sw);
            Started h;
            ControllerEngine& m = h.main();
            m.strBankSelectMidiCC = setting;
            m.intMidiChannel = setting == std::string("MIDI") ? 15 : 0;
            m.intCurrentBank = c.bank == 1 ? 2 : 1;
            m.bPadState[0][0] = m.bPadState[7][1] = m.bPadState[15][2] = true;
            const std::string leds = c.leds, text = c.text;

            Switches(h, std::string(c.sw) + "+");
            EXPECT_EQ(h.wire(), W((setting == std::string("MIDI") ? c.midi : c.cc) +
                                  (", [" + leds) + "], [" + leds + "|" + text + "]"));
            EXPECT_EQ(m.intCurrentBank, c.bank);
            EXPECT_TRUE(m.tmrDisplay.isActive());
            h.clear();
            Switches(h, std::string(c.sw) + "-");
            EXPECT_EQ(h.wire(), W("[" + leds + "|" + text + "]"));
            EXPECT_TRUE(m.tmrDisplay.isActive());
            h.clear();
            m.tmrDisplay_Timer();
            EXPECT_EQ(h.wire(), W("[" + leds + "|2D 5F 2D]"));
            EXPECT_FALSE(m.tmrDisplay.isActive());
            EXPECT_EQ(m.intCurrentBank, c.bank);
        }
    }
}

TEST(SetBank, SameBankAgainRepeatsEverythingAndOutOfRangeDoesNothing) {
    Started h;
    h.main().strBankSelectMidiCC = "CC";
    h.run(h.main().ZivUvozaro_SetBank(1));
    h.run(h.main().ZivUvozaro_SetBank(1));
    h.run(h.main().ZivUvozaro_SetBank(3));
    h.run(h.main().ZivUvozaro_SetBank(-1));
    EXPECT_EQ(h.wire(), W("B0 11 7F, B0 12 00, B0 10 00, [00 00 00 00 20],"
                          "B0 11 7F, B0 12 00, B0 10 00, [00 00 00 00 20]"));
    EXPECT_EQ(h.main().intCurrentBank, 1);
    EXPECT_TRUE(h.main().bButtonLed[5]);
}

// A second bank press handled inside the first one's pulse: the last press wins, and the lit
// bank button, the pads shown and the bank text all name the current bank.
TEST(SetBank, NestedBankPressLastOneWins) {
    Started h;
    ControllerEngine& m = h.main();
    m.strBankSelectMidiCC = "MIDI";
    m.bPadState[1][1] = m.bPadState[2][2] = true;
    ReportDuringNextWait(h, "48 12 7F");
    Switches(h, "11+");
    EXPECT_EQ(m.intCurrentBank, 2);
    EXPECT_TRUE(m.bButtonLed[4]);
    EXPECT_FALSE(m.bButtonLed[5]);
    EXPECT_FALSE(m.bButtonLed[6]);
    EXPECT_EQ(h.wire(),
              W("90 11 7F, 90 12 7F, 90 12 00, [04 00 00 00 40], [04 00 00 00 40|33 20 42],"
                "90 11 00, [04 00 00 00 40|33 20 42], [04 00 00 00 40|33 20 42]"));
}

// Bank button 2 held while bank button 3 is pressed and then bank button 2 is let go: the text
// still names bank 3.
TEST(BankButtons, OverlappingPressesShowTheSelectedBank) {
    Started h;
    h.main().strBankSelectMidiCC = "CC";
    Switches(h, "11+ 12+");
    h.clear();
    Switches(h, "11-");
    EXPECT_EQ(h.wire(), W("[00 00 00 00 40|33 20 42]"));
}
