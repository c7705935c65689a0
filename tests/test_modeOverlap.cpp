#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
// Bank 2 selected, pads with modes and states in every bank.
class ModeOverlap : public ::testing::Test {
protected:
    void SetUp() override {
        h.load();
        m.strBankSelectMidiCC = "CC";
        m.ZivUvozaro_SetBank(1);
        m.bPadState[0][0] = true;
        m.strPadMode[1][0] = "TOGGLE";
        m.strPadMode[2][1] = "TOGGLE";
        m.bPadState[2][1] = true;
        m.bPadState[5][1] = true;
        m.strPadMode[9][1] = "CN1";
        m.strPadMode[3][2] = "TOGGLE";
        m.bPadState[4][2] = true;
        m.strPadMode[15][2] = "CN1";
        m.bPadState[15][2] = true;
        own = m.bPadState;
        h.clear();
    }

    void press(const char* sw) { h.report(std::string("48 ") + sw + " 7F"); }
    void release(const char* sw) { h.report(std::string("48 ") + sw + " 00"); }

    Harness h;
    frmMain& m = h.main();
    ControllerState::PadTable<bool> own{};
};

TEST_F(ModeOverlap, SecondModeButtonIsIgnoredWhileOneIsHeld) {
    press("00");
    h.clear();
    press("01");
    release("01");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.strButtonMode, "TOGGLE");
    EXPECT_FALSE(m.bButtonLed[1]);
    release("00");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(m.strButtonMode, "");
    EXPECT_EQ(h.wire().back(), LedPacket("24 00 00 00 20", "2D 5F 2D"));
}

// The second button, pressed during the first one's view, is let go after it: its release must
// not put the first view's copy back over states that changed since.
TEST_F(ModeOverlap, ReleaseOfAnIgnoredModeButtonChangesNothing) {
    press("00");
    press("01");
    release("00");
    m.bPadState[7][1] = true; // a pad lit after the view ended
    own[7][1] = true;
    h.clear();
    release("01");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bPadState, own);
}

TEST_F(ModeOverlap, ReleaseWithoutPressChangesNothing) {
    release("0A");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bPadState, own);
}

TEST_F(ModeOverlap, RepeatedPressOfTheHeldButtonIsIgnored) {
    press("02");
    h.clear();
    press("02");
    EXPECT_TRUE(h.wire().empty());
    release("02");
    EXPECT_EQ(m.bPadState, own);
}

TEST_F(ModeOverlap, BankButtonsAreIgnoredWhileAModeButtonIsHeld) {
    press("00");
    const auto buttonLeds = m.bButtonLed;
    h.clear();
    for (const char* bank : {"10", "12", "11"}) {
        press(bank);
        release(bank);
    }
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.intCurrentBank, 1);
    EXPECT_EQ(m.bButtonLed, buttonLeds);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    release("00");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(h.wire().back(), LedPacket("24 00 00 00 20", "2D 5F 2D"));
}

TEST_F(ModeOverlap, BankButtonReleasedDuringAViewShowsNothing) {
    press("12");
    press("00"); // the view of bank 3
    h.clear();
    release("12");
    EXPECT_TRUE(h.wire().empty());
    release("00");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(m.intCurrentBank, 2);
}

// Pressed during the view, let go after it: the text names the bank still selected.
TEST_F(ModeOverlap, BankButtonLetGoAfterTheViewNamesTheSelectedBank) {
    press("00");
    press("12");
    release("00");
    h.clear();
    release("12");
    EXPECT_EQ(h.wire(), WireTexts{LedPacket("24 00 00 00 20", "32 20 42")});
    EXPECT_EQ(m.intCurrentBank, 1);
}

TEST_F(ModeOverlap, OtherButtonsActDuringAView) {
    press("00");
    h.clear();
    press("05");
    EXPECT_EQ(h.wire(), (WireTexts{"90 43 7F", LedPacket("04 00 04 01 20", "4C 47 54")}));
    release("05");
    release("00");
    EXPECT_EQ(m.bPadState, own);
}

// A mode button pressed inside a bank change's pulse shows and restores the new bank.
TEST_F(ModeOverlap, ModePressInsideABankPulseViewsTheNewBank) {
    m.strBankSelectMidiCC = "MIDI";
    ReportDuringNextWait(h, "48 00 7F");
    press("12");
    EXPECT_EQ(m.strButtonMode, "TOGGLE");
    EXPECT_EQ(h.wire().back(), LedPacket("08 00 04 00 40", "4C 47 54")) << "no bank text";
    EXPECT_FALSE(m.tmrDisplay.isActive());
    release("12");
    release("00");
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(h.wire().back(), LedPacket("10 00 02 00 40", "2D 5F 2D"));
}

TEST_F(ModeOverlap, NativeModeEndsAViewFirst) {
    press("01");
    h.clear();
    m.btnInitNativeMode_Click();
    EXPECT_EQ(m.strButtonMode, "");
    EXPECT_FALSE(m.bButtonLed[1]);
    EXPECT_EQ(m.bPadState, own);
    EXPECT_EQ(h.wire().back(), LedPacket("01 00 00 00 10", "2D 5F 2D"));
    h.clear();
    release("01");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.bPadState, own);
}
} // namespace

TEST_F(ModeOverlap, FeedbackDuringAViewReachesThePadsOwnState) {
    m.strPadMode[6][1] = "FDB";
    m.strPadMode[7][2] = "FDB";
    press("0A"); // the FDB view of bank 2
    EXPECT_TRUE(m.bPadState[6][1]) << "the view shows membership";
    h.host().raiseMidiInput(0x90, 24 + 6, 100); // shown bank: kept for after the view
    h.host().raiseMidiInput(0x90, 48 + 7, 100); // another bank: its state directly
    h.host().raiseMidiInput(0x90, 24 + 5, 0);   // not an FDB pad: nothing
    EXPECT_FALSE(m.bPadState[2][1]) << "membership view unchanged while held";
    release("0A");
    auto expected = own;
    expected[6][1] = true;
    expected[7][2] = true;
    EXPECT_EQ(m.bPadState, expected);
}
