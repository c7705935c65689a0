#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
const WireTexts kEntry = {
    "f0 42 40 6e 08 00 00 01 F7", "f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7",
    "f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a "
    "0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 f7"};

TEST(NativeMode, OnePressFromEntryToIdleDisplay) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strBankSelectMidiCC = "CC";
    m.btnInitNativeMode_Click();
    WireTexts expected = kEntry;
    for (const char* text : {"B0 10 7F", "B0 12 00", "B0 11 00"})
        expected.push_back(text);
    expected.push_back("F0 42 40 6E 08 3F 0A 01 00 00 00 00 10 00 00 00 00 F7");
    expected.push_back("F0 42 40 6E 08 3F 0A 01 00 00 00 00 10 00 2D 5F 2D F7");
    EXPECT_EQ(h.wire(), expected);
    EXPECT_EQ(m.strDisplayText, "-_-");
    EXPECT_EQ(m.intCurrentBank, 0);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_FALSE(m.bInitialising);
}

TEST(NativeMode, PressedAgainRepeatsFromAnyBankAndCancelsATimedText) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strBankSelectMidiCC = "MIDI";
    m.btnInitNativeMode_Click();
    h.report("48 12 7F");
    h.report("48 12 00");
    ASSERT_TRUE(m.tmrDisplay.isActive());
    h.clear();
    m.btnInitNativeMode_Click();
    WireTexts expected = kEntry;
    for (const char* text :
         {"90 10 7F", "90 10 00", "F0 42 40 6E 08 3F 0A 01 00 00 00 00 10 00 33 20 42 F7",
          "F0 42 40 6E 08 3F 0A 01 00 00 00 00 10 00 2D 5F 2D F7"})
        expected.push_back(text);
    EXPECT_EQ(h.wire(), expected);
    EXPECT_EQ(m.intCurrentBank, 0);
    EXPECT_FALSE(m.tmrDisplay.isActive());
}

} // namespace
