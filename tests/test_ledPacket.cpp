#include "Kit.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(LedPacket, BitsFromTheCurrentBanksPadsAndTheButtons) {
    const struct {
        int16_t bank;
        std::vector<int> pads;         // lit in the current bank; every pad of the others is lit
        std::vector<const char*> leds; // button LEDs lit
        const char* flags;             // T: assign toggled, 1 / 2: knob 1 / 2 state on
        const char* bytes;
    } cases[] = {
        {0, {}, {}, "", "00 00 00 00 00"},
        {0, {0, 6}, {}, "", "41 00 00 00 00"},
        {0, {7}, {}, "", "00 01 00 00 00"},
        {0, {13}, {}, "", "00 40 00 00 00"},
        {0, {14, 15}, {}, "", "00 00 03 00 00"},
        {1, {2}, {}, "", "04 00 00 00 00"},
        {2, {0, 15}, {}, "", "01 00 02 00 00"},
        {0, {}, {"10"}, "", "00 00 04 00 00"},
        {0, {}, {"13"}, "", "00 00 20 00 00"},
        {0, {}, {"18"}, "", "00 00 00 08 00"},
        {0, {}, {"1A"}, "", "00 00 00 20 00"},
        {0, {}, {"1B"}, "", "00 00 00 40 00"},
        {0, {}, {"1C"}, "", "00 00 00 00 01"},
        {0, {}, {"1F"}, "", "00 00 00 00 08"},
        {0, {}, {"21"}, "", "00 00 00 00 20"},
        {0, {}, {"22"}, "", "00 00 00 00 40"},
        {0,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         {"10", "11", "19", "1A", "22", "21", "20", "12", "1B", "1C", "1F", "13", "14", "15", "16",
          "17", "18", "1D", "1E"},
         "",
         "7F 7F 7F 7F 7F"},
        {0, {}, {"1D", "1E"}, "", "00 00 00 00 06"}, // held knob buttons while not latching
        {0, {}, {}, "12", "00 00 00 00 00"},         // knob states alone while not latching
        {0, {}, {"1E"}, "T1", "00 00 00 00 02"},     // latching: the states show, not the buttons
        {0, {}, {"1D"}, "T2", "00 00 00 00 04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Started h;
        ControllerEngine& m = h.main();
        m.intCurrentBank = c.bank;
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            for (int pad = 0; pad < ControllerState::kPads; ++pad)
                m.bPadState[pad][bank] = bank != c.bank;
        for (int pad : c.pads)
            m.bPadState[pad][c.bank] = true;
        for (const std::string id : c.leds) {
            const auto at = std::find(m.strButtonLedId.begin(), m.strButtonLedId.end(), id);
            ASSERT_NE(at, m.strButtonLedId.end()) << id;
            m.bButtonLed[at - m.strButtonLedId.begin()] = true;
        }
        const std::string flags = c.flags;
        m.bAssignToggled = flags.find('T') != std::string::npos;
        m.bKnob1State = flags.find('1') != std::string::npos;
        m.bKnob2State = flags.find('2') != std::string::npos;
        m.ZivUvozaro_SetLights();
        const Wire packet = W(std::string("[") + c.bytes + "]");
        EXPECT_EQ(h.wire(), packet);
        EXPECT_EQ(m.strLedSysEx, packet[0]);
    }
}

TEST(LedPacket, StoredBeforeAFailedSend) {
    Started h;
    h.main().bPadState[1][0] = true;
    h.host().failOn = "HostSendSysEx";
    EXPECT_THROW(h.main().ZivUvozaro_SetLights(), HostError);
    EXPECT_EQ(h.main().strLedSysEx, W("[02 00 00 00 00]")[0]);
}

TEST(LedPacket, SingleLedsKeepTheCallersId) {
    Started h;
    h.main().bPadState[3][0] = true;
    h.main().PadOn("4F");
    h.main().PadOff("0a");
    h.main().PadOff_All();
    EXPECT_EQ(h.wire(), W("f0 42 40 6e 08 01 4F 20 f7, f0 42 40 6e 08 01 0a 00 f7,"
                          "[00 00 00 00 00]"));
}
