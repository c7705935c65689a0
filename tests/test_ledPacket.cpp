#include "support/Harness.h"
#include "wireTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
// Button table positions.
constexpr int kToggleButton = 0;  // LED "10"
constexpr int kFdbButton = 3;     // LED "1A"
constexpr int kBank3Button = 4;   // LED "22"
constexpr int kBank2Button = 5;   // LED "21"
constexpr int kJogButton = 8;     // LED "1B"
constexpr int kJogButton2 = 9;    // LED "1C"
constexpr int kJogButton3 = 10;   // LED "1F"
constexpr int kNote65Button = 11; // LED "13"
constexpr int kNote70Button = 16; // LED "18"
constexpr int kKnob1Button = 17;  // LED "1D"
constexpr int kKnob2Button = 18;  // LED "1E"
} // namespace

TEST(LedPacket, BitsFromPadsAndButtons) {
    const struct {
        const char* name;
        std::function<void(frmMain&)> setup;
        const char* ledBytes;
    } cases[] = {
        {"everything off", [](frmMain&) {}, "00 00 00 00 00"},
        {"pads 0 and 6", [](frmMain& w) { w.bPadState[0][0] = w.bPadState[6][0] = true; },
         "41 00 00 00 00"},
        {"pad 7", [](frmMain& w) { w.bPadState[7][0] = true; }, "00 01 00 00 00"},
        {"pad 13", [](frmMain& w) { w.bPadState[13][0] = true; }, "00 40 00 00 00"},
        {"pads 14 and 15", [](frmMain& w) { w.bPadState[14][0] = w.bPadState[15][0] = true; },
         "00 00 03 00 00"},
        {"only the current bank's pads",
         [](frmMain& w) {
             w.intCurrentBank = 1;
             w.bPadState[0][0] = w.bPadState[1][2] = true;
             w.bPadState[2][1] = true;
         },
         "04 00 00 00 00"},
        {"LED 10", [](frmMain& w) { w.bButtonLed[kToggleButton] = true; }, "00 00 04 00 00"},
        {"LED 13", [](frmMain& w) { w.bButtonLed[kNote65Button] = true; }, "00 00 20 00 00"},
        {"LED 18", [](frmMain& w) { w.bButtonLed[kNote70Button] = true; }, "00 00 00 08 00"},
        {"LED 1A", [](frmMain& w) { w.bButtonLed[kFdbButton] = true; }, "00 00 00 20 00"},
        {"LED 1B", [](frmMain& w) { w.bButtonLed[kJogButton] = true; }, "00 00 00 40 00"},
        {"LED 1C", [](frmMain& w) { w.bButtonLed[kJogButton2] = true; }, "00 00 00 00 01"},
        {"LED 1F", [](frmMain& w) { w.bButtonLed[kJogButton3] = true; }, "00 00 00 00 08"},
        {"bank 2 selected", [](frmMain& w) { w.bButtonLed[kBank2Button] = true; },
         "00 00 00 00 20"},
        {"LED 22", [](frmMain& w) { w.bButtonLed[kBank3Button] = true; }, "00 00 00 00 40"},
        {"everything on",
         [](frmMain& w) {
             for (auto& pad : w.bPadState)
                 pad[0] = true;
             w.bButtonLed.fill(true);
         },
         "7F 7F 7F 7F 7F"},
        {"held knob buttons while not latching",
         [](frmMain& w) {
             w.bButtonLed[kKnob1Button] = w.bButtonLed[kKnob2Button] = true;
             w.bKnob1State = w.bKnob2State = false;
         },
         "00 00 00 00 06"},
        {"knob states alone while not latching",
         [](frmMain& w) { w.bKnob1State = w.bKnob2State = true; }, "00 00 00 00 00"},
        {"latching: knob 1 state shows, not the button",
         [](frmMain& w) {
             w.bAssignToggled = true;
             w.bKnob1State = true;
             w.bButtonLed[kKnob2Button] = true;
         },
         "00 00 00 00 02"},
        {"latching: knob 2 state shows, not the button",
         [](frmMain& w) {
             w.bAssignToggled = true;
             w.bKnob2State = true;
             w.bButtonLed[kKnob1Button] = true;
         },
         "00 00 00 00 04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        c.setup(h.main());
        h.main().ZivUvozaro_SetLights();
        const std::string packet = ledPacket(c.ledBytes);
        EXPECT_EQ(h.wire(), std::vector<std::string>{packet});
        EXPECT_EQ(h.main().strLedSysEx, packet);
    }
}

TEST(LedPacket, KeepsTheDisplayBytes) {
    Harness h;
    h.load();
    std::string text = "B 1";
    h.main().SetDisplay(text, false);
    h.main().bPadState[0][0] = true;
    h.clear();
    h.main().ZivUvozaro_SetLights();
    EXPECT_EQ(h.wire(), std::vector<std::string>{ledPacket("01 00 00 00 00", "31 20 42")});
}

TEST(LedPacket, StoredBeforeAFailedSend) {
    Harness h;
    h.load();
    h.main().bPadState[1][0] = true;
    h.host().failOn = "HostSendSysEx";
    EXPECT_THROW(h.main().ZivUvozaro_SetLights(), HostError);
    EXPECT_EQ(h.main().strLedSysEx, ledPacket("02 00 00 00 00"));
}

TEST(LedPacket, SingleLedsKeepTheCallersId) {
    Harness h;
    h.load();
    h.main().bPadState[3][0] = true;
    h.main().PadOn("4F");
    h.main().PadOff("0a");
    h.main().PadOff_All();
    EXPECT_EQ(h.wire(),
              (std::vector<std::string>{"f0 42 40 6e 08 01 4F 20 f7", "f0 42 40 6e 08 01 0a 00 f7",
                                        ledPacket("00 00 00 00 00")}));
}
