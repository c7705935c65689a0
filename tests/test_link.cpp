// How the window shows and keeps the link: the status lines, the pickers' choices, and what
// happens when the server goes and comes back.
#include "FreshStore.h"
#include "Kit.h"
#include "host/jack/PortPattern.h"
#include "ui/ControllerView.h"
#include "ui/PortChoices.h"
#include "ui/PortPicker.h"
#include "ui/StatusArea.h"
#include "ui/StatusTexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(StatusTexts, SayTheLinkInPlainWords) {
    LinkStatus link;
    link.server = "studio";
    link.state = LinkStatus::State::Attached;
    link.sampleRate = 48000;
    link.period = 128;
    EXPECT_EQ(ServerText(link), "studio: attached, 48000 Hz, 128 frames (2.7 ms)");
    link.state = LinkStatus::State::Lost;
    EXPECT_EQ(ServerText(link), "studio: lost; waiting for it to come back");
    link.state = LinkStatus::State::Waiting;
    EXPECT_EQ(ServerText(link), "studio: not running; waiting for it");

    EXPECT_EQ(ConnectionText({}, {}), "not connected");
    EXPECT_EQ(ConnectionText({"pad:out"}, {}),
              "one way: pad:out sends to Orvan, nothing goes back");
    EXPECT_EQ(ConnectionText({}, {"pad:in"}), "one way: Orvan sends to pad:in, nothing comes back");
    EXPECT_EQ(ConnectionText({"pad:out"}, {"pad:in", "x:in"}),
              "both ways: pad:out in, pad:in, x:in out");

    EngineSnapshot engine;
    EXPECT_EQ(NativeModeText(engine, false, false), "off");
    EXPECT_EQ(NativeModeText(engine, false, true),
              "pending: entered once the JACK server is attached");
    engine.nativeMode = true;
    engine.state.intCurrentBank = 1;
    engine.state.intMidiChannel = 9;
    EXPECT_EQ(NativeModeText(engine, true, false), "on, bank 2, channel 10");
    EXPECT_EQ(NativeModeText(engine, false, false), "on, waiting for the controller");

    DropCounts drops;
    EXPECT_EQ(DropsText(drops), "none");
    drops.inputMerged = 5;
    drops.inputHeld = 3;
    drops.outputInvalid = 1;
    EXPECT_EQ(DropsText(drops),
              "9 messages (5 merged while waiting, 3 no room to wait, 1 not valid MIDI)");
}

// Ports that belong together (one device, both ways) are one choice; its pattern matches them
// and nothing else. Clients with physical ports come first; another Orvan's ports and those the
// other side is connected to are not offered.
TEST(PortChoices, PairTheWaysOfOneDeviceAndMatchExactly) {
    const std::vector<PortInfo> ports = {{"system:midi_capture_1", true, true},
                                         {"system:midi_capture_2", true, true},
                                         {"bridge:Pad [20] (capture): Pad", true, false},
                                         {"song:out", true, false},
                                         {"orvan-01:daw_out", true, false, true},
                                         {"system:midi_playback_1", false, true},
                                         {"bridge:Pad [20] (playback): Pad", false, false},
                                         {"song:in", false, false},
                                         {"orvan-01:controller_in", false, false, true}};
    std::string shown;
    for (const PortChoice& c : PortChoices(ports, {"song:in"}))
        shown += c.client + " | " + c.label + "; ";
    EXPECT_EQ(shown, "system | midi_capture_1 + midi_playback_1; system | midi_capture_2; "
                     "bridge | Pad [20] (capture): Pad + Pad [20] (playback): Pad; "
                     "song | out; ");
    const PortPattern pattern(PortChoices(ports, {}).at(2).pattern);
    EXPECT_TRUE(pattern.matches("bridge:Pad [20] (capture): Pad"));
    EXPECT_FALSE(pattern.matches("bridge:Pad [20] (capture): Pad 2"));
    EXPECT_FALSE(pattern.matches("xbridge:Pad [20] (playback): Pad"));
}

// The server goes: the notice, and input off. It comes back: input on again, and the controller,
// in native mode, gets the entry messages and the LED packet of the moment.
TEST(LinkWindow, ServerLossAndReturn) {
    Started h;
    h.main().strBankSelectMidiCC = "CC";
    h.window().btnInitNativeMode->click();
    h.clear();
    h.host().raiseStopInputRequest();
    EXPECT_EQ(h.host().calls, W("HostInputEvents 0"));
    h.report("47 00 7F");
    EXPECT_TRUE(h.wire().empty());
    h.clear();
    h.window().RefreshFromHost(); // the window has seen native mode on
    h.host().raiseReattached();
    EXPECT_EQ(h.host().calls.front(), "HostInputEvents 1");
    EXPECT_EQ(h.wire(), W("f0 42 40 6e 08 00 00 01 F7,"
                          "f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7,"
                          "f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a 0a 0a "
                          "0a 0a 0a 0a 0a 0a 0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f "
                          "10 f7, [00 00 00 00 10|2D 5F 2D]"));
    h.clear();
    h.report("47 00 7F");
    EXPECT_EQ(h.wire(), W("90 40 7F"));
}

// Made while no server is attached: pad keys are not kept to be played later, while a "Native
// Mode" press is shown as pending and entered once the server is back.
TEST(LinkWindow, WhileDetachedKeysAreNotKeptAndNativeModeIsPending) {
    Started h;
    h.main().strFlashMidiCC = "MIDI";
    h.host().raiseStopInputRequest();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QApplication::sendEvent(h.window().controllerView, &key);
    }
    h.window().btnInitNativeMode->click();
    h.window().RefreshFromHost();
    EXPECT_EQ(h.window().statusArea->nativeMode->text().toStdString(),
              "pending: entered once the JACK server is attached");
    h.clear();
    h.host().raiseReattached();
    const Wire wire = h.wire();
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "f0 42 40 6e 08 00 00 01 F7"), 1);
    EXPECT_EQ(std::count_if(wire.begin(), wire.end(),
                            [](const std::string& m) { return m.starts_with("90 00"); }),
              0);
    h.window().RefreshFromHost();
    EXPECT_EQ(h.window().statusArea->nativeMode->text().toStdString(),
              "on, waiting for the controller");
}

// A choice connects at once, is kept, and is what the next start connects, unless the command
// line names other ports for the run.
TEST(LinkWindow, APickedDeviceIsKeptForTheNextStart) {
    FreshStore store;
    RecordingHost::Setup setup;
    setup.sysIn = {"pads:out"};
    setup.sysOut = {"pads:in"};
    std::string chosen;
    {
        Harness h(setup);
        h.load();
        PortPicker& picker = *h.window().statusArea->controllerPicker;
        ASSERT_EQ(picker.count(), 3); // (none), the client, its device
        EXPECT_EQ(picker.itemText(2).toStdString(), "    out + in");
        chosen = picker.patternAt(2);
        picker.chosen(chosen);
        EXPECT_EQ(h.host().calls.front(), "SetControllerPorts " + chosen);
        EXPECT_EQ(picker.currentIndex(), 2);
        EXPECT_EQ(ReadSetting("ControllerPorts"), chosen);
    }
    for (const char* commandLine : {"", "^other:"}) {
        Harness h(setup);
        h.host().link.controllerPattern = commandLine;
        h.load();
        EXPECT_EQ(h.host().link.controllerPattern, *commandLine ? commandLine : chosen);
    }
}
