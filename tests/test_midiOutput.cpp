#include "support/Harness.h"
#include "wireTexts.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {
using Wire = std::vector<std::string>;
}

TEST(MidiOutput, MessagesOnTheGlobalChannel) {
    const struct {
        const char* name;
        int16_t channel;
        std::function<void(frmMain&)> send;
        const char* wire;
        const char* call;
    } cases[] = {
        {"controller 0", 0, [](frmMain& w) { w.SendCC(1, 0); }, "B0 00 00",
         "HostSendMessage -1 176 0 0"},
        {"controller 127", 0, [](frmMain& w) { w.SendCC(128, 127); }, "B0 7F 7F",
         "HostSendMessage -1 176 127 127"},
        {"controller 19", 0, [](frmMain& w) { w.SendCC(20, 64); }, "B0 13 40",
         "HostSendMessage -1 176 19 64"},
        {"controller on channel 16", 15, [](frmMain& w) { w.SendCC(20, 64); }, "BF 13 40",
         "HostSendMessage -1 191 19 64"},
        {"note", 0, [](frmMain& w) { w.SendNote(60, 100); }, "90 3C 64",
         "HostSendMessage -1 144 60 100"},
        {"note on channel 16", 15, [](frmMain& w) { w.SendNote(60, 100); }, "9F 3C 64",
         "HostSendMessage -1 159 60 100"},
        {"note on", 0, [](frmMain& w) { w.SendNoteOn(5); }, "90 05 7F",
         "HostSendMessage -1 144 5 127"},
        {"note on, channel 16", 15, [](frmMain& w) { w.SendNoteOn(5); }, "9F 05 7F",
         "HostSendMessage -1 159 5 127"},
        {"note off is a note-on with velocity 0", 2, [](frmMain& w) { w.SendNoteOff(64); },
         "92 40 00", "HostSendMessage -1 146 64 0"},
        {"note off, channel 16", 15, [](frmMain& w) { w.SendNoteOff(64); }, "9F 40 00",
         "HostSendMessage -1 159 64 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        h.main().intMidiChannel = c.channel;
        c.send(h.main());
        EXPECT_EQ(h.wire(), Wire{c.wire});
        EXPECT_EQ(h.host().calls, Wire{c.call});
    }
}

TEST(MidiOutput, NoHostIsAnError) {
    Harness h;
    EXPECT_THROW(h.main().SendNote(1, 1), HostError);
}

TEST(MidiOutput, PulseDispatchesPendingEventsBeforeItsNoteOff) {
    for (int16_t wait : {0, 3, 5}) {
        SCOPED_TRACE(wait);
        Harness h;
        h.load();
        QTimer::singleShot(0, &h.main(), [&] { h.main().SendCC(2, 1); });
        h.main().PulsedMidiOutPut(wait, 10);
        EXPECT_EQ(h.wire(), (Wire{"90 0A 7F", "B0 01 01", "90 0A 00"}));
        EXPECT_EQ(h.main().DeepestWaitDepth(), 1);
        EXPECT_EQ(h.main().WaitDepth(), 0);
    }
}

TEST(MidiOutput, NegativeWaitEndsTheNoteAtOnce) {
    Harness h;
    h.load();
    bool ran = false;
    QTimer::singleShot(0, &h.main(), [&] { ran = true; });
    h.main().PulsedMidiOutPut(-1, 10);
    EXPECT_FALSE(ran);
    EXPECT_EQ(h.wire(), (Wire{"90 0A 7F", "90 0A 00"}));
    EXPECT_EQ(h.main().DeepestWaitDepth(), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}

TEST(MidiOutput, ChannelChangeDuringAPulse) {
    Harness h;
    h.load();
    QTimer::singleShot(0, &h.main(), [&] { h.main().intMidiChannel = 15; });
    h.main().PulsedMidiOutPut(3, 10);
    EXPECT_EQ(h.wire(), (Wire{"90 0A 7F", "9F 0A 00"}));
}

TEST(MidiOutput, NestedPulsesEndInnermostFirst) {
    Harness h;
    h.load();
    QTimer::singleShot(0, &h.main(), [&] {
        QTimer::singleShot(0, &h.main(), [&] { h.main().PulsedMidiOutPut(0, 12); });
        h.main().PulsedMidiOutPut(1, 11);
    });
    h.main().PulsedMidiOutPut(2, 10);
    EXPECT_EQ(h.wire(),
              (Wire{"90 0A 7F", "90 0B 7F", "90 0C 7F", "90 0C 00", "90 0B 00", "90 0A 00"}));
    EXPECT_EQ(h.main().DeepestWaitDepth(), 3);
    EXPECT_EQ(h.main().WaitDepth(), 0);
}

TEST(MidiOutput, ReportsDuringAPulseAreHandledInsideIt) {
    Harness h;
    h.load();
    h.main().strFlashMidiCC = "MIDI";
    QTimer::singleShot(0, &h.main(), [&] {
        h.report("45 43 64");
        h.report("45 03 00");
    });
    h.main().PulsedMidiOutPut(3, 10);
    EXPECT_EQ(h.wire(),
              (Wire{"90 0A 7F", ledOn("43"), "90 03 64", ledOff("03"), "90 03 00", "90 0A 00"}));
}
