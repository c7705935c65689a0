#include "protocol/NativeMessages.h"
#include "support/Harness.h"
#include "ui/frmInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
std::vector<std::string> items(QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

std::vector<std::string> labels(QWidget* window) {
    std::vector<std::string> out;
    for (auto* label : window->findChildren<QLabel*>())
        out.push_back(label->text().toStdString());
    return out;
}

RecordingHost::Setup fourDevices() {
    RecordingHost::Setup setup;
    setup.version = "JACK 1.9.21";
    setup.instance = 3;
    setup.sysIn = {"pads:out", "keys:out"};
    setup.sysOut = {"synth:in"};
    setup.openIn = {"pads:out"};
    setup.openOut = {"synth:in", "daw:in"};
    return setup;
}
} // namespace

TEST(MainWindow, StartUpQueriesTheHostInOrderThenSwitchesInputOn) {
    Harness h(fourDevices());
    h.main().Form_Load();

    const std::vector<std::string> expected = {
        "HostVersion",         "HostInstanceQuery",  "HostInstanceNumber",   "HostSysMidiInFirst",
        "HostSysMidiInNext",   "HostSysMidiInNext",  "HostSysMidiOutFirst",  "HostSysMidiOutNext",
        "HostOpenMidiInFirst", "HostOpenMidiInNext", "HostOpenMidiOutFirst", "HostOpenMidiOutNext",
        "HostOpenMidiOutNext", "HostInputCapture 1", "HostInputEvents 1"};
    EXPECT_EQ(h.host().calls, expected);
    EXPECT_TRUE(h.host().wire.empty()) << "start-up must not touch the controller";

    frmMain& m = h.main();
    EXPECT_EQ(m.VersionText->text().toStdString(), "JACK 1.9.21");
    EXPECT_EQ(m.numInstances->text().toStdString(), "3");
    EXPECT_EQ(m.Status->text().toStdString(), "Attached to Instance 3");
    EXPECT_EQ(items(m.ListSysMidiIn), (std::vector<std::string>{"pads:out", "keys:out"}));
    EXPECT_EQ(items(m.ListSysMidiOut), (std::vector<std::string>{"synth:in"}));
    EXPECT_EQ(items(m.ListOpenMidiIn), (std::vector<std::string>{"pads:out"}));
    EXPECT_EQ(items(m.ListOpenMidiOut), (std::vector<std::string>{"synth:in", "daw:in"}));
}

TEST(MainWindow, StartUpStateIsTheInitialControllerState) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    EXPECT_EQ(m.strLedSysEx, "F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 00 00 00 00 F7");
    for (int pad = 0; pad < 16; ++pad) {
        for (int bank = 0; bank < 3; ++bank) {
            EXPECT_EQ(m.strPadMode[pad][bank], "FLASH");
            EXPECT_FALSE(m.bPadState[pad][bank]);
            EXPECT_FALSE(m.vPadStateSaved[pad][bank].has_value());
        }
    }
    const std::array<std::string, 19> ids = {"10", "11", "19", "1A", "22", "21", "20",
                                             "12", "1B", "1C", "1F", "13", "14", "15",
                                             "16", "17", "18", "1D", "1E"};
    EXPECT_EQ(m.strButtonLedId, ids);
    EXPECT_FALSE(m.bInitialising);
    EXPECT_EQ(m.intCurrentBank, 0);
    EXPECT_EQ(m.intMidiChannel, 0);
    EXPECT_EQ(m.tmrDisplay.interval(), 500);
    EXPECT_EQ(m.tmrTap.interval(), 100);
    EXPECT_FALSE(m.tmrDisplay.isActive());
    EXPECT_FALSE(m.tmrTap.isActive());
}

TEST(MainWindow, HostWithoutDevicesLeavesTheListsEmpty) {
    Harness h;
    h.main().Form_Load();
    for (QListWidget* list : {h.main().ListSysMidiIn, h.main().ListSysMidiOut,
                              h.main().ListOpenMidiIn, h.main().ListOpenMidiOut})
        EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(h.host().inputEvents, 1);
}

TEST(MainWindow, ShowsEveryControlWithItsCaption) {
    Harness h;
    frmMain& m = h.main();
    EXPECT_EQ(m.windowTitle().toStdString(), "Orvan");
    EXPECT_EQ(m.btnInitNativeMode->text().toStdString(), "Native Mode");
    EXPECT_EQ(m.btnConfig->text().toStdString(), "Config");
    EXPECT_EQ(m.btnInfo->text().toStdString(), "Info");
    EXPECT_EQ(m.btnEnd->text().toStdString(), "X");
    EXPECT_EQ(m.StayOpen->text().toStdString(), "Keep MIDI-OX open after Client exits");
    EXPECT_FALSE(m.StayOpen->isChecked());
    EXPECT_EQ(m.Status->text().toStdString(), "Status");
    const auto texts = labels(&m);
    for (const char* label :
         {"MIDI-OX Version:", "Running", "System MIDI In Devices", "System MIDI Out Devices",
          "Open MIDI In Devices", "Open MIDI Out Devices"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
}

TEST(MainWindow, QuitAnsweredNoChangesNothing) {
    Harness h;
    h.load();
    h.main().btnEnd->click();
    ASSERT_EQ(h.messages().shown.size(), 1u);
    const MessageRequest& asked = h.messages().shown[0];
    EXPECT_EQ(asked.text.toStdString(), "Really Quit?");
    EXPECT_EQ(asked.title.toStdString(), "Orvan");
    EXPECT_TRUE(asked.yesNo);
    EXPECT_TRUE(h.host().calls.empty());
    EXPECT_FALSE(h.hostReleased());
    EXPECT_EQ(h.host().inputEvents, 1);
}

TEST(MainWindow, QuitAnsweredYesShutsDownInOrderAndReleasesTheHost) {
    Harness h;
    h.load();
    h.messages().answers.push_back(MsgAnswer::Yes);
    std::vector<std::string> calls;
    h.host().onCall = [&](const std::string& call) { calls.push_back(call); };
    h.main().btnEnd->click();
    EXPECT_EQ(calls, (std::vector<std::string>{"HostInputEvents 0", "HostInputCapture 0"}));
    EXPECT_TRUE(h.hostReleased());
    EXPECT_EQ(h.main().mWire, nullptr);
}

TEST(MainWindow, CloseBoxRunsOnlyTheShutDown) {
    Harness h;
    h.load();
    std::vector<std::string> calls;
    h.host().onCall = [&](const std::string& call) { calls.push_back(call); };
    h.main().close();
    EXPECT_TRUE(h.messages().shown.empty()) << "no question when closed by the close box";
    EXPECT_EQ(calls, (std::vector<std::string>{"HostInputEvents 0", "HostInputCapture 0"}));
    EXPECT_TRUE(h.hostReleased());
}

TEST(MainWindow, StopNoticeSwitchesEventsOffForTheRestOfTheRun) {
    Harness h;
    h.load();
    h.host().raiseStopInputRequest();
    ASSERT_EQ(h.messages().shown.size(), 1u);
    EXPECT_EQ(h.messages().shown[0].text.toStdString(), "MIDIOX wants to terminate MIDI Input");
    EXPECT_FALSE(h.messages().shown[0].yesNo);
    EXPECT_EQ(h.host().calls, (std::vector<std::string>{"HostInputEvents 0"}));
    EXPECT_EQ(h.host().inputCapture, 1) << "capture stays on";

    // The pedal would send note 64; nothing reaches the engine any more, whatever follows.
    h.main().btnInitNativeMode->click();
    h.clear();
    h.report("47 00 7F");
    h.host().raiseMidiInput(0xB0, 81, 127);
    EXPECT_TRUE(h.host().wire.empty());
    for (const std::string& call : h.host().calls)
        EXPECT_NE(call, "HostInputEvents 1");
}

TEST(MainWindow, KeepOpenCheckBoxWritesTheHostSetting) {
    Harness h;
    h.load();
    h.main().StayOpen->click();
    h.main().StayOpen->click();
    h.main().StayOpen->click();
    EXPECT_EQ(h.host().calls,
              (std::vector<std::string>{"HostCloseOnClientExit 0", "HostCloseOnClientExit 1",
                                        "HostCloseOnClientExit 0"}));
}

TEST(MainWindow, NativeModeSendsTheThreeEntryMessagesFirstAndDropsSysExMeanwhile) {
    Harness h;
    h.load();
    // The controller answers at once; while the entry messages go out that answer is dropped.
    h.host().onCall = [&](const std::string& call) {
        if (call.rfind("HostSendSysEx f0", 0) == 0)
            h.report("47 00 7F");
    };
    h.main().btnInitNativeMode->click();
    const auto wire = h.wire();
    ASSERT_GE(wire.size(), 3u);
    EXPECT_EQ(wire[0], "f0 42 40 6e 08 00 00 01 F7");
    EXPECT_EQ(wire[1], "f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7");
    EXPECT_EQ(wire[2], "f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a 0a "
                       "0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d "
                       "0e 0f 10 f7");
    for (const std::string& sent : wire)
        EXPECT_NE(sent, "90 40 7F") << "a report during the entry must not play";
    EXPECT_FALSE(h.main().bInitialising);
}

TEST(MainWindow, FailingHostOperationReportsTheErrorAndEndsTheProgram) {
    Harness h;
    h.load();
    h.host().failOn = "HostSendSysEx";
    std::vector<std::string> calls; // the host is gone afterwards: keep what it saw
    h.host().onCall = [&](const std::string& call) { calls.push_back(call); };
    h.main().btnInitNativeMode->click();

    ASSERT_EQ(h.messages().shown.size(), 1u);
    const MessageRequest& box = h.messages().shown[0];
    EXPECT_EQ(box.kind, MsgKind::Critical);
    EXPECT_NE(box.text.indexOf(QStringLiteral("HostSendSysEx failed")), -1)
        << box.text.toStdString();
    EXPECT_TRUE(h.main().Ending());
    EXPECT_TRUE(h.hostReleased());
    // The chain was abandoned at the first failing send; the shut-down still ran.
    EXPECT_EQ(calls, (std::vector<std::string>{"HostSendSysEx f0 42 40 6e 08 00 00 01 F7",
                                               "HostInputEvents 0", "HostInputCapture 0"}));
}

TEST(MainWindow, HostThatCannotBeCreatedFailsTheStartUp) {
    frmMain m([]() -> std::unique_ptr<MidiHost> { throw HostError("no server named x"); });
    EXPECT_THROW(m.Form_Load(), HostError);
    EXPECT_EQ(m.mWire, nullptr);
}

TEST(MainWindow, InfoWindowShowsTheLinkAndClosesWithX) {
    Harness h;
    h.load();
    std::string title, link;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        title = info->windowTitle().toStdString();
        link = info->lblLink->text().toStdString();
        EXPECT_EQ(info->btnClose->text().toStdString(), "X");
        info->btnClose->click();
        closed = true;
    });
    h.main().btnInfo->click();
    EXPECT_TRUE(closed);
    EXPECT_EQ(title, "Orvan Info");
    EXPECT_NE(link.find(ORVAN_HOME_PAGE), std::string::npos);
}
