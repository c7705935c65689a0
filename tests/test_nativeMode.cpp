#include "Kit.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {
const char* const kEntry =
    "f0 42 40 6e 08 00 00 01 F7, f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7,"
    "f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a "
    "0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 f7,";
}

TEST(NativeMode, OnePressFromEntryToIdleDisplay) {
    Started h;
    ControllerEngine& m = h.main();
    m.strBankSelectMidiCC = "CC";
    // The controller answers each entry message at once with a pedal report; while the entry
    // messages go out that answer is dropped.
    h.host().onCall = [&](const std::string& call) {
        if (call.starts_with("HostSendSysEx f0") && m.bInitialising)
            m.Run(m.mWire_SysExInput("F0 42 40 6E 08 47 00 7F F7"));
    };
    h.window().btnInitNativeMode->click();
    // The recall a first run switches on draws the LEDs once more.
    EXPECT_EQ(h.wire(), W(std::string(kEntry) + "B0 10 7F, B0 12 00, B0 11 00, [00 00 00 00 10],"
                                                "[00 00 00 00 10|2D 5F 2D],"
                                                "[00 00 00 00 10|2D 5F 2D]"));
    EXPECT_EQ(m.strDisplayText, "-_-");
    EXPECT_EQ(m.intCurrentBank, 0);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_FALSE(m.bInitialising);
}

TEST(NativeMode, PressedAgainRepeatsFromAnyBankAndCancelsATimedText) {
    Started h;
    ControllerEngine& m = h.main();
    m.strBankSelectMidiCC = "MIDI";
    h.run(m.btnInitNativeMode_Click());
    Switches(h, "12+ 12-");
    ASSERT_TRUE(m.tmrDisplay.isActive());
    h.clear();
    h.run(m.btnInitNativeMode_Click());
    EXPECT_EQ(h.wire(), W(std::string(kEntry) + "90 10 7F, 90 10 00, [00 00 00 00 10|33 20 42],"
                                                "[00 00 00 00 10|2D 5F 2D]"));
    EXPECT_EQ(m.intCurrentBank, 0);
    EXPECT_FALSE(m.tmrDisplay.isActive());
}
