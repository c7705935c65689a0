#include "Kit.h"

#include <gtest/gtest.h>

namespace {
// Bank 2 selected, pads with modes and states in every bank.
class ModeOverlap : public ::testing::Test {
protected:
    void SetUp() override {
        m.strBankSelectMidiCC = "CC";
        h.run(m.ZivUvozaro_SetBank(1));
        SetPads(m, "0/0 FLASH*, 1/0 TOGGLE, 2/1 TOGGLE*, 5/1 FLASH*, 9/1 CN1, 3/2 TOGGLE,"
                   "4/2 FLASH*, 15/2 CN1*");
        own = m.bPadState;
        h.clear();
    }

    Started h;
    ControllerEngine& m = h.main();
    ControllerState::PadTable<bool> own{};
};

// While a mode button is held, other mode buttons, a repeated press of the held one, releases
// without a press and the bank buttons are ignored; the view ends with the pads' own states.
TEST_F(ModeOverlap, OtherModeAndBankButtonsAreIgnoredWhileOneIsHeld) {
    Switches(h, "0A-");
    EXPECT_TRUE(h.wire().empty());
    Switches(h, "02+");
    h.clear();
    Switches(h, "02+ 00+ 01+ 01- 10+ 10- 12+ 12- 11+ 11-");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.strButtonMode, "TRK");
    EXPECT_FALSE(m.bButtonLed[0]);
    EXPECT_FALSE(m.bButtonLed[1]);
    EXPECT_EQ(m.intCurrentBank, 1);
    EXPECT_TRUE(m.bButtonLed[5]);
    EXPECT_FALSE(m.bButtonLed[4]);
    EXPECT_FALSE(m.bButtonLed[6]);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    Switches(h, "02-");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(m.strButtonMode, "");
    EXPECT_EQ(h.wire().back(), W("[24 00 00 00 20|2D 5F 2D]")[0]);
}

// The second button, pressed during the first one's view, is let go after it: its release must
// not put the first view's copy back over states that changed since.
TEST_F(ModeOverlap, ReleaseOfAnIgnoredModeButtonChangesNothing) {
    Switches(h, "00+ 01+ 00-");
    m.bPadState[7][1] = own[7][1] = true; // a pad lit after the view ended
    h.clear();
    Switches(h, "01-");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bPadState, own);
}

TEST_F(ModeOverlap, BankButtonAroundAView) {
    // Pressed before the view, released during it: nothing shown.
    Switches(h, "12+ 00+"); // the view of bank 3
    h.clear();
    Switches(h, "12-");
    EXPECT_TRUE(h.wire().empty());
    Switches(h, "00-");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(m.intCurrentBank, 2);
    // Pressed during the view, let go after it: the text names the bank still selected.
    Switches(h, "11+ 00+ 12+ 00-");
    h.clear();
    Switches(h, "11- 12-");
    EXPECT_EQ(h.wire(), W("[24 00 00 00 20|32 20 42], [24 00 00 00 20|32 20 42]"));
    EXPECT_EQ(m.intCurrentBank, 1);
}

TEST_F(ModeOverlap, OtherButtonsActDuringAView) {
    Switches(h, "00+");
    h.clear();
    Switches(h, "05+");
    EXPECT_EQ(h.wire(), W("90 43 7F, [04 00 04 01 20|4C 47 54]"));
    Switches(h, "05- 00-");
    EXPECT_EQ(m.bPadState, own);
}

// A mode button pressed inside a bank change's pulse shows and restores the new bank.
TEST_F(ModeOverlap, ModePressInsideABankPulseViewsTheNewBank) {
    m.strBankSelectMidiCC = "MIDI";
    ReportDuringNextWait(h, "48 00 7F");
    Switches(h, "12+");
    EXPECT_EQ(m.strButtonMode, "TOGGLE");
    EXPECT_EQ(h.wire().back(), W("[08 00 04 00 40|4C 47 54]")[0]) << "no bank text";
    EXPECT_FALSE(m.tmrDisplay.isActive());
    Switches(h, "12- 00-");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(h.wire().back(), W("[10 00 02 00 40|2D 5F 2D]")[0]);
}

TEST_F(ModeOverlap, NativeModeEndsAViewFirst) {
    Switches(h, "01+");
    h.clear();
    h.run(m.btnInitNativeMode_Click());
    EXPECT_EQ(m.strButtonMode, "");
    EXPECT_FALSE(m.bButtonLed[1]);
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(h.wire().back(), W("[01 00 00 00 10|2D 5F 2D]")[0]);
    h.clear();
    Switches(h, "01-");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bPadState, own);
}

TEST_F(ModeOverlap, FeedbackDuringAViewReachesThePadsOwnState) {
    m.strPadMode[6][1] = "FDB";
    m.strPadMode[7][2] = "FDB";
    Switches(h, "0A+"); // the FDB view of bank 2
    EXPECT_TRUE(m.bPadState[6][1]) << "the view shows membership";
    h.host().raiseMidiInput(0x90, 24 + 6, 100); // shown bank: kept for after the view
    h.host().raiseMidiInput(0x90, 48 + 7, 100); // another bank: its state directly
    h.host().raiseMidiInput(0x90, 24 + 5, 0);   // not an FDB pad: nothing
    EXPECT_FALSE(m.bPadState[2][1]) << "membership view unchanged while held";
    Switches(h, "0A-");
    own[6][1] = own[7][2] = true;
    EXPECT_EQ(m.bPadState, own);
}
} // namespace
