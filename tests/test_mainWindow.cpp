#include "FreshStore.h"
#include "Kit.h"
#include "settings/mSettings.h"
#include "ui/ControllerView.h"
#include "ui/MidiMonitor.h"
#include "ui/PortPicker.h"
#include "ui/StatusArea.h"
#include "ui/frmInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QDataStream>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {
std::string Entries(QListWidget* list) {
    std::string out;
    for (int i = 0; i < list->count(); ++i)
        out += (i ? ", " : "") + list->item(i)->text().toStdString();
    return out;
}

// "WindowGeometry" as QWidget::saveGeometry() keeps it: frame, normal and inner geometry one
// rectangle, on the first screen, maximised or not.
std::string GeometryText(QRect r, bool maximised = false) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << r << r << qint32(0)
        << quint8(maximised ? Qt::WindowMaximized : 0) << quint8(0)
        << qint32(QGuiApplication::primaryScreen()->geometry().width()) << r;
    return bytes.toHex().toStdString();
}

// "WindowPanes" as QSplitter::saveState() keeps it, with a count of sizes of its own.
std::string PanesText(quint32 count, const std::vector<qint32>& sizes) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_0);
    out << qint32(0xff) << qint32(1) << count;
    for (qint32 size : sizes)
        out << size;
    return bytes.toHex().toStdString();
}
} // namespace

TEST(MainWindow, StartUpQueriesTheHostInOrderThenSwitchesInputOn) {
    RecordingHost::Setup setup;
    setup.version = "JACK 1.9.21";
    setup.instance = 3;
    setup.sysIn = {"pads:out", "keys:out"};
    setup.sysOut = {"synth:in"};
    setup.openIn = {"pads:out"};
    setup.openOut = {"synth:in", "daw:in"};
    Harness h(setup);
    h.window().Form_Load();
    EXPECT_EQ(h.host().calls,
              W("HostVersion, HostInstanceQuery, HostInstanceNumber, HostSysMidiInFirst,"
                "HostSysMidiInNext, HostSysMidiInNext, HostSysMidiOutFirst, HostSysMidiOutNext,"
                "HostOpenMidiInFirst, HostOpenMidiInNext, HostOpenMidiOutFirst,"
                "HostOpenMidiOutNext, HostOpenMidiOutNext, HostInputCapture 1, HostInputEvents 1"));
    EXPECT_TRUE(h.wire().empty()) << "start-up must not touch the controller";
    frmMain& m = h.window();
    EXPECT_EQ(m.VersionText->text().toStdString(), "JACK 1.9.21");
    EXPECT_EQ(m.numInstances->text().toStdString(), "3");
    EXPECT_EQ(m.Status->text().toStdString(), "Attached as orvan");
    EXPECT_EQ(Entries(m.ListSysMidiIn), "pads:out, keys:out");
    EXPECT_EQ(Entries(m.ListSysMidiOut), "synth:in");
    EXPECT_EQ(Entries(m.ListOpenMidiIn), "pads:out");
    EXPECT_EQ(Entries(m.ListOpenMidiOut), "synth:in, daw:in");

    Started bare; // a host without devices
    for (QListWidget* list : {bare.window().ListSysMidiIn, bare.window().ListSysMidiOut,
                              bare.window().ListOpenMidiIn, bare.window().ListOpenMidiOut})
        EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(bare.host().inputEvents, 1);
}

TEST(MainWindow, StartUpStateIsTheInitialControllerState) {
    Started h;
    ControllerEngine& m = h.main();
    EXPECT_EQ(m.strLedSysEx, "F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 00 00 00 00 F7");
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
            EXPECT_EQ(m.strPadMode[pad][bank], "FLASH");
            EXPECT_FALSE(m.vPadStateSaved[pad][bank].has_value());
        }
    }
    EXPECT_EQ(Lit(m), "");
    const std::array<FixedText<2>, 19> ids = {"10", "11", "19", "1A", "22", "21", "20",
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

TEST(MainWindow, ShowsEveryControlWithItsCaption) {
    Harness h;
    frmMain& m = h.window();
    EXPECT_EQ(m.windowTitle().toStdString(), "Orvan");
    EXPECT_EQ(m.btnInitNativeMode->text().toStdString(), "Native Mode");
    EXPECT_EQ(m.btnConfig->text().toStdString(), "Config");
    EXPECT_EQ(m.btnInfo->text().toStdString(), "Info");
    EXPECT_EQ(m.btnEnd->text().toStdString(), "X");
    EXPECT_EQ(m.Status->text().toStdString(), "Status");
    QStringList labels;
    for (const QLabel* label : m.findChildren<QLabel*>())
        labels << label->text();
    for (const char* label :
         {"JACK server version:", "Instance:", "System MIDI In Devices", "System MIDI Out Devices",
          "Open MIDI In Devices", "Open MIDI Out Devices"})
        EXPECT_TRUE(labels.contains(label)) << label;
}

// "Really Quit?" answered No changes nothing; answered Yes it saves the pads and shuts down; the
// close box shuts down without a question, and saves only pads the run changed (none here).
TEST(MainWindow, QuitAndClose) {
    const struct {
        const char* how;
        bool asked, ends;
        const char* saved; // "PadMode_1_01" afterwards
    } cases[] = {{"No", true, false, ""}, {"Yes", true, true, "FLASH"}, {"close", false, true, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        FreshStore store;
        std::vector<std::string> calls; // outlives the window, which may shut down at its end
        Started h;
        h.host().onCall = [&](const std::string& call) { calls.push_back(call); };
        if (c.how == std::string("close")) {
            h.window().close();
        } else {
            h.messages().answers = {c.how == std::string("Yes") ? MsgAnswer::Yes : MsgAnswer::No};
            h.window().btnEnd->click();
        }
        ASSERT_EQ(h.messages().shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            const MessageRequest& asked = h.messages().shown[0];
            EXPECT_EQ(asked.text.toStdString(), "Really Quit?");
            EXPECT_EQ(asked.title.toStdString(), "Orvan");
            EXPECT_TRUE(asked.yesNo);
        }
        EXPECT_EQ(calls, c.ends ? W("HostInputEvents 0, HostInputCapture 0") : Wire{});
        EXPECT_EQ(h.hostReleased(), c.ends);
        EXPECT_EQ(h.window().mWire == nullptr, c.ends);
        EXPECT_EQ(ReadSetting("PadMode_1_01"), c.saved);
    }
}

// No box: a player whose server restarts must not have to walk to the screen.
TEST(MainWindow, StopNoticeSwitchesEventsOffUntilTheServerIsBack) {
    Started h;
    h.host().raiseStopInputRequest();
    EXPECT_TRUE(h.messages().shown.empty());
    EXPECT_EQ(h.host().calls, W("HostInputEvents 0"));
    EXPECT_EQ(h.host().inputCapture, 1) << "capture stays on";
    // The pedal would send note 64; nothing reaches the engine any more, whatever follows.
    h.window().btnInitNativeMode->click();
    h.clear();
    h.report("47 00 7F");
    h.host().raiseMidiInput(0xB0, 81, 127);
    EXPECT_TRUE(h.host().wire.empty());
    for (const std::string& call : h.host().calls)
        EXPECT_NE(call, "HostInputEvents 1");
}

// The top row follows the link: never "attached" while Orvan waits for the server.
TEST(MainWindow, TopRowSaysWhetherOrvanIsAttached) {
    using State = LinkStatus::State;
    const std::pair<State, const char*> cases[] = {{State::Waiting, "Waiting for the server"},
                                                   {State::Attached, "Attached as orvan"},
                                                   {State::Lost, "Server lost; waiting for it"}};
    Started h;
    for (const auto& [state, said] : cases) {
        h.host().link.state = state;
        h.window().RefreshLink();
        EXPECT_EQ(h.window().Status->text().toStdString(), said);
    }
    for (const QLabel* label : h.window().findChildren<QLabel*>())
        EXPECT_EQ(label->text().indexOf(QStringLiteral("MIDI-OX")), -1)
            << label->text().toStdString();
}

// Key 1 plays pad 1 wherever the focus is in the window, except in a field that takes text.
TEST(MainWindow, PadKeysPlayWhereverTheFocusIs) {
    Started h;
    frmMain& m = h.window();
    auto* field = new QLineEdit(m.statusArea);
    const std::pair<QWidget*, bool> cases[] = {{m.controllerView, true},
                                               {m.btnInitNativeMode, true},
                                               {m.btnConfig, true},
                                               {m.btnLists, true},
                                               {m.statusArea->dawPicker, true},
                                               {m.ListSysMidiIn, true},
                                               {m.midiMonitor->lines, true},
                                               {m.midiMonitor->chkIn, true},
                                               {m.VersionText, true},
                                               {field, false}};
    for (const auto& [widget, plays] : cases) {
        SCOPED_TRACE(widget->metaObject()->className());
        widget->setFocus();
        h.runner().TakeMonitored();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
            QApplication::sendEvent(widget, &key);
        }
        QEventLoop releases; // a release waits a moment for a repeat's press
        QTimer::singleShot(3 * ControllerView::kRepeatPairMs, &releases, &QEventLoop::quit);
        releases.exec();
        h.settle();
        int fromWindow = 0;
        for (const MonitoredMessage& message : h.runner().TakeMonitored())
            fromWindow += !message.header.sent && message.header.port == EngineRunner::FromWindow;
        EXPECT_EQ(fromWindow, plays ? 2 : 0);
    }
}

TEST(MainWindow, FailingHostOperationReportsTheErrorAndEndsTheProgram) {
    Started h;
    h.host().failOn = "SetControllerPorts";
    std::vector<std::string> calls; // the host is gone afterwards: keep what it saw
    h.host().onCall = [&](const std::string& call) { calls.push_back(call); };
    h.window().statusArea->controllerPicker->chosen("^pads:");
    ASSERT_EQ(h.messages().shown.size(), 1u);
    const MessageRequest& box = h.messages().shown[0];
    EXPECT_EQ(box.kind, MsgKind::Critical);
    EXPECT_NE(box.text.indexOf(QStringLiteral("SetControllerPorts failed")), -1)
        << box.text.toStdString();
    EXPECT_TRUE(h.window().Ending());
    EXPECT_TRUE(h.hostReleased());
    // The chain was abandoned at the failing call; the shut-down still ran.
    EXPECT_EQ(calls,
              (Wire{"SetControllerPorts ^pads:", "HostInputEvents 0", "HostInputCapture 0"}));

    EngineRunner runner;
    frmMain none(runner,
                 []() -> std::unique_ptr<MidiHost> { throw HostError("no server named x"); });
    EXPECT_THROW(none.Form_Load(), HostError); // a host that cannot be created fails the start-up
    EXPECT_EQ(none.mWire, nullptr);
}

// With the controller view and the monitor beside the controls, the window still fits a
// 1366 x 768 screen at 150 % (910 x 512 of its pixels, less a title bar and a panel).
TEST(MainWindow, FitsASmallScreenAtOneAndAHalfTimes) {
    Started h;
    const QSize least = h.window().minimumSizeHint();
    EXPECT_LE(least.width(), 1366 * 2 / 3) << least.width();
    EXPECT_LE(least.height(), 768 * 2 / 3 - 60) << least.height();
}

// The layout comes back from the user's file: a window that does not fit the screen or panes
// larger than the window are made to fit, what cannot be read gives way to the first-run layout,
// and each is said on standard error.
TEST(MainWindow, RestoredLayoutFitsTheScreen) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect huge(0, 0, 2147483646, 2147483646);
    // A place and size that fit: the screen may be no larger than the window's least size.
    const QRect fits(0, 30, Started().window().minimumSizeHint().width(), 500);
    const struct {
        const char* name;
        std::string geometry, panes;
        const char* said; // on standard error; "" nothing
    } cases[] = {
        {"as left", GeometryText(fits), PanesText(2, {300, 400}), ""},
        {"larger than any screen", GeometryText(huge), PanesText(2, {2147483646, 2147483646}),
         "\"WindowGeometry\" does not fit the screen; the window is made to fit\n"
         "orvan: the remembered \"WindowPanes\" is larger than the window"},
        {"maximised, larger than any screen", GeometryText(huge, true), "", "does not fit"},
        {"off the screen", GeometryText({-5000, 9000, 790, 500}), "", "does not fit"},
        {"a pixel", GeometryText({10, 10, 1, 1}), "", "does not fit"},
        {"no geometry, 2^31 panes", "7a7a", PanesText(0x7fffffff, {}),
         "\"WindowGeometry\" cannot be used; the window takes its first-run size\n"
         "orvan: the remembered \"WindowPanes\" cannot be used"},
        {"a pane of negative size", "", PanesText(2, {-5, 300}), "\"WindowPanes\" cannot be used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshStore store;
        WriteSettings("WindowGeometry=" + c.geometry + ", WindowPanes=" + c.panes);
        ::testing::internal::CaptureStderr();
        Started h;
        const std::string said = ::testing::internal::GetCapturedStderr();
        const QRect shown = h.window().normalGeometry();
        const QSize least = h.window().minimumSizeHint();
        EXPECT_TRUE(QRect(room.topLeft(), room.size().expandedTo(least)).contains(shown));
        EXPECT_EQ(shown.size().expandedTo(least), shown.size());
        if (!*c.said) {
            EXPECT_EQ(shown, fits);
        }
        EXPECT_EQ(said.find("orvan: the remembered") != std::string::npos, *c.said != 0) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

TEST(MainWindow, InfoWindowShowsTheLinkAndClosesWithX) {
    Started h;
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
    h.window().btnInfo->click();
    EXPECT_TRUE(closed);
    EXPECT_EQ(title, "Orvan Info");
    if (std::string(ORVAN_HOME_PAGE).empty())
        EXPECT_EQ(link.find("href"), std::string::npos);
    else
        EXPECT_NE(link.find(ORVAN_HOME_PAGE), std::string::npos);
}
