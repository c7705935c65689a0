#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
struct BankCase {
    const char* sw; // switch number of the bank button
    int16_t bank;
    const char* l5;   // LED byte 5: the selected bank's button lit
    const char* text; // display bytes of "B n"
    WireTexts midi;   // bank output with "MIDI"
    WireTexts cc;     // bank output with "CC"
};

const BankCase kBanks[] = {
    {"10", 0, "10", "31 20 42", {"90 10 7F", "90 10 00"}, {"B0 10 7F", "B0 12 00", "B0 11 00"}},
    {"11", 1, "20", "32 20 42", {"90 11 7F", "90 11 00"}, {"B0 11 7F", "B0 12 00", "B0 10 00"}},
    {"12", 2, "40", "33 20 42", {"90 12 7F", "90 12 00"}, {"B0 12 7F", "B0 11 00", "B0 10 00"}},
};

void checkBankButton(const char* setting, bool midi) {
    for (const BankCase& c : kBanks) {
        SCOPED_TRACE(std::string(setting) + " bank button " + c.sw);
        Harness h;
        h.load();
        frmMain& m = h.main();
        m.strBankSelectMidiCC = setting;
        m.intCurrentBank = c.bank == 1 ? 2 : 1; // start from another bank

        h.report(std::string("48 ") + c.sw + " 7F");
        WireTexts expected = midi ? c.midi : c.cc;
        const std::string leds = std::string("00 00 00 00 ") + c.l5;
        expected.push_back(LedPacket(leds, "00 00 00"));
        expected.push_back(LedPacket(leds, c.text));
        EXPECT_EQ(h.wire(), expected);
        EXPECT_EQ(m.intCurrentBank, c.bank);
        EXPECT_TRUE(m.tmrDisplay.isActive());

        h.clear();
        h.report(std::string("48 ") + c.sw + " 00");
        EXPECT_EQ(h.wire(), WireTexts{LedPacket(leds, c.text)});
        EXPECT_TRUE(m.tmrDisplay.isActive());

        h.clear();
        m.tmrDisplay_Timer();
        EXPECT_EQ(h.wire(), WireTexts{LedPacket(leds, "2D 5F 2D")});
        EXPECT_FALSE(m.tmrDisplay.isActive());
        EXPECT_EQ(m.intCurrentBank, c.bank);
    }
}

TEST(BankButtons, MidiSettingSendsOnePulsedNote) {
    checkBankButton("MIDI", true);
}

TEST(BankButtons, CcSettingSendsThreeControllersSelectedFirst) {
    checkBankButton("CC", false);
}

TEST(BankButtons, AnyOtherSettingCountsAsCc) {
    checkBankButton("midi", false);
}

TEST(BankButtons, UseTheGlobalChannel) {
    Harness h;
    h.load();
    h.main().intMidiChannel = 15;
    h.main().strBankSelectMidiCC = "MIDI";
    h.report("48 12 7F");
    EXPECT_EQ(h.wire()[0], "9F 12 7F");
    EXPECT_EQ(h.wire()[1], "9F 12 00");
}

TEST(SetBank, SameBankAgainRepeatsEverything) {
    Harness h;
    h.load();
    h.main().strBankSelectMidiCC = "CC";
    h.main().ZivUvozaro_SetBank(1);
    h.main().ZivUvozaro_SetBank(1);
    const WireTexts once = {"B0 11 7F", "B0 12 00", "B0 10 00",
                            LedPacket("00 00 00 00 20", "00 00 00")};
    WireTexts twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(h.wire(), twice);
}

TEST(SetBank, OutOfRangeDoesNothing) {
    Harness h;
    h.load();
    h.main().ZivUvozaro_SetBank(1);
    h.clear();
    h.main().ZivUvozaro_SetBank(3);
    h.main().ZivUvozaro_SetBank(-1);
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(h.main().intCurrentBank, 1);
    EXPECT_TRUE(h.main().bButtonLed[5]);
}

TEST(SetBank, ShowsOnlyTheNewBanksPads) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.bPadState[0][0] = true;
    m.bPadState[7][1] = true;
    m.bPadState[15][2] = true;
    m.ZivUvozaro_SetBank(1);
    EXPECT_EQ(h.wire().back(), LedPacket("00 01 00 00 20", "00 00 00"));
    m.ZivUvozaro_SetBank(2);
    EXPECT_EQ(h.wire().back(), LedPacket("00 00 02 00 40", "00 00 00"));
    m.ZivUvozaro_SetBank(0);
    EXPECT_EQ(h.wire().back(), LedPacket("01 00 00 00 10", "00 00 00"));
}

// A second bank press handled inside the first one's pulse: the last press wins, and the lit
// bank button, the pads shown and the bank text all name the current bank.
TEST(SetBank, NestedBankPressLastOneWins) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strBankSelectMidiCC = "MIDI";
    m.bPadState[1][1] = true;
    m.bPadState[2][2] = true;
    ReportDuringNextWait(h, "48 12 7F");
    h.report("48 11 7F");
    EXPECT_EQ(m.intCurrentBank, 2);
    EXPECT_TRUE(m.bButtonLed[4]);
    EXPECT_FALSE(m.bButtonLed[5]);
    EXPECT_FALSE(m.bButtonLed[6]);
    const std::string leds = "04 00 00 00 40";
    EXPECT_EQ(h.wire(), (WireTexts{"90 11 7F", "90 12 7F", "90 12 00", LedPacket(leds, "00 00 00"),
                                   LedPacket(leds, "33 20 42"), "90 11 00",
                                   LedPacket(leds, "33 20 42"), LedPacket(leds, "33 20 42")}));
}

// Bank button 2 held while bank button 3 is pressed and then bank button 2 is let go: the text
// still names bank 3.
TEST(BankButtons, OverlappingPressesShowTheSelectedBank) {
    Harness h;
    h.load();
    h.main().strBankSelectMidiCC = "CC";
    h.report("48 11 7F");
    h.report("48 12 7F");
    h.clear();
    h.report("48 11 00");
    EXPECT_EQ(h.wire(), WireTexts{LedPacket("00 00 00 00 40", "33 20 42")});
}
} // namespace
