#include "Kit.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

TEST(MidiOutput, MessagesOnTheGlobalChannelToPortMinusOne) {
    using Send = std::function<void(ControllerEngine&)>;
    const struct {
        int16_t channel;
        Send send;
        const char* wire;
    } cases[] = {
        {0, [](ControllerEngine& w) { w.SendCC(1, 0); }, "B0 00 00"},
        {0, [](ControllerEngine& w) { w.SendCC(128, 127); }, "B0 7F 7F"},
        {0, [](ControllerEngine& w) { w.SendCC(20, 64); }, "B0 13 40"},
        {15, [](ControllerEngine& w) { w.SendCC(20, 64); }, "BF 13 40"},
        {0, [](ControllerEngine& w) { w.SendNote(60, 100); }, "90 3C 64"},
        {15, [](ControllerEngine& w) { w.SendNote(60, 100); }, "9F 3C 64"},
        {0, [](ControllerEngine& w) { w.SendNoteOn(5); }, "90 05 7F"},
        {15, [](ControllerEngine& w) { w.SendNoteOn(5); }, "9F 05 7F"},
        {2, [](ControllerEngine& w) { w.SendNoteOff(64); }, "92 40 00"}, // never 82
        {15, [](ControllerEngine& w) { w.SendNoteOff(64); }, "9F 40 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wire);
        Started h;
        h.main().intMidiChannel = c.channel;
        c.send(h.main());
        EXPECT_EQ(h.wire(), Wire{c.wire});
        std::istringstream bytes(c.wire);
        std::string call = "HostSendMessage -1", pair;
        while (bytes >> pair)
            call += " " + std::to_string(std::stoi(pair, nullptr, 16));
        EXPECT_EQ(h.host().calls, Wire{call});
    }
}

// An event during the pulse sends a controller and changes the channel: the note-off follows it,
// on the new channel.
TEST(MidiOutput, PulseDispatchesPendingEventsBeforeItsNoteOff) {
    for (int16_t wait : {0, 3, 5}) {
        SCOPED_TRACE(wait);
        Started h;
        ControllerEngine& m = h.main();
        h.host().duringNextWait([&m] {
            m.SendCC(2, 1);
            m.intMidiChannel = 15;
        });
        h.run(m.PulsedMidiOutPut(wait, 10));
        EXPECT_EQ(h.wire(), W("90 0A 7F, B0 01 01, 9F 0A 00"));
        EXPECT_EQ(m.DeepestWaitDepth(), 1);
        EXPECT_EQ(m.WaitDepth(), 0);
    }
}

TEST(MidiOutput, NegativeWaitEndsTheNoteAtOnce) {
    Started h;
    bool ran = false;
    h.host().duringNextWait([&] { ran = true; });
    h.run(h.main().PulsedMidiOutPut(-1, 10));
    EXPECT_FALSE(ran);
    EXPECT_EQ(h.wire(), W("90 0A 7F, 90 0A 00"));
    EXPECT_EQ(h.main().DeepestWaitDepth(), 0);
}

// A nested pulse ends before the one it runs in; a pad report during a pulse plays inside it.
// Pulse 10 lasts 6 ms; pulse 11 starts 1 ms in and lasts 4 ms; pulse 12 starts 2 ms in and
// lasts 1 ms; the pad is hit and let go 4 ms in.
TEST(MidiOutput, NestedPulsesAndReportsEndInnermostFirst) {
    Started h;
    ControllerEngine& m = h.main();
    h.host().after(1, [&] { m.Run(m.PulsedMidiOutPut(3, 11)); });
    h.host().after(2, [&] { m.Run(m.PulsedMidiOutPut(0, 12)); });
    h.host().after(4, [&] { Reports(h, "45 43 64, 45 03 00"); });
    h.run(m.PulsedMidiOutPut(5, 10));
    EXPECT_EQ(h.wire(), W("90 0A 7F, 90 0B 7F, 90 0C 7F, 90 0C 00, +43, 90 03 64, -03, 90 03 00,"
                          "90 0B 00, 90 0A 00"));
    EXPECT_EQ(m.DeepestWaitDepth(), 3);
    EXPECT_EQ(m.WaitDepth(), 0);
}
