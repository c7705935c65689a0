#include "Kit.h"

#include <gtest/gtest.h>

// Every pad a lit feedback pad: the XY pad's messages never reach them.
TEST(XYPad, MoveSendsPositionAsControllerAndNeverFeedback) {
    Started h;
    ControllerEngine& m = h.main();
    m.intMidiChannel = 1;
    for (int bank = 0; bank < ControllerState::kBanks; ++bank)
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            SetPad(m, pad, bank, "FDB", true);
    const auto lit = m.bPadState;
    h.host().raiseMidiInput(0xB0, 127, 5);
    h.host().raiseMidiInput(0xB0, 126, 40);
    h.host().raiseMidiInput(0xB0, 125, 100); // not the XY pad
    EXPECT_EQ(h.wire(), W("B1 7E 05, B1 7D 28"));
    EXPECT_EQ(m.bPadState, lit);
}

TEST(XYPad, TapLocksOutUntilTheTimerAndNeverRepeatsAValue) {
    Started h;
    ControllerEngine& m = h.main();
    m.bXYPadTap = true;

    h.host().raiseMidiInput(0xB0, 126, 0); // the start-up value taps never
    EXPECT_TRUE(h.wire().empty());
    EXPECT_FALSE(m.tmrTap.isActive());

    h.host().raiseMidiInput(0xB0, 126, 64);
    EXPECT_EQ(h.wire(), W("B0 7C 7F"));
    EXPECT_TRUE(m.tmrTap.isActive());
    EXPECT_EQ(m.tmrTap.interval(), 100);
    EXPECT_EQ(m.intLastXYValue, 64);

    h.host().raiseMidiInput(0xB0, 127, 65); // locked out
    EXPECT_EQ(h.wire().size(), 1u);
    EXPECT_EQ(m.intLastXYValue, 64);

    m.tmrTap_Timer();
    EXPECT_FALSE(m.tmrTap.isActive());
    h.host().raiseMidiInput(0xB0, 127, 64); // same value as the last tap
    EXPECT_EQ(h.wire().size(), 1u);
    EXPECT_FALSE(m.tmrTap.isActive());

    h.host().raiseMidiInput(0xB0, 127, 65);
    EXPECT_EQ(h.wire(), W("B0 7C 7F, B0 7C 7F"));
    EXPECT_EQ(m.intLastXYValue, 65);
    EXPECT_TRUE(m.tmrTap.isActive());
}
