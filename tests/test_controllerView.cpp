#include "FreshStore.h"
#include "Kit.h"
#include "ViewMouse.h"
#include "engine/UCase.h"
#include "host/MidiBytes.h"
#include "ui/ControllerView.h"
#include "ui/MidiMonitor.h"
#include "ui/PadPlaying.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {
using Part = ControllerLayout::Part;

// What the controller shows, worked out from the engine's LED packet text and the single-LED
// texts sent after it: every LED as 0/1, then "|" and the display in reading order.
std::string HardwareShows(Harness& h) {
    const std::string packet = h.main().strLedSysEx.str();
    Wire singles;
    for (const std::string& sent : h.wire()) {
        if (UCase(sent.substr(0, 23)) == "F0 42 40 6E 08 3F 0A 01")
            singles.clear();
        else if (UCase(sent.substr(0, 17)) == "F0 42 40 6E 08 01")
            singles.push_back(sent);
    }
    auto byteAt = [](const std::string& text, size_t index) {
        return std::stoi(text.substr(3 * index, 2), nullptr, 16);
    };
    std::string shows(ControllerMessage::kLeds, '0');
    for (int led = 0; led < ControllerMessage::kLeds; ++led)
        shows[led] = '0' + ((byteAt(packet, 8 + led / 7) >> (led % 7)) & 1);
    for (const std::string& single : singles)
        shows[byteAt(single, 6) & 0x3F] = byteAt(single, 7) ? '1' : '0';
    shows += '|';
    for (size_t i = 16; i >= 14; --i)
        shows += static_cast<char>(byteAt(packet, i));
    return shows;
}

std::string ViewShows(const ControllerView& view) {
    std::string shows;
    for (int led = 0; led < ControllerMessage::kLeds; ++led)
        shows += view.lights().lit(led) ? '1' : '0';
    return shows + "|" + view.lights().display();
}

// The window's feed: every monitored message, then the newest state.
void Feed(ControllerView& view, Harness& h) {
    for (const MonitoredMessage& m : h.runner().TakeMonitored())
        view.take(m);
    view.showState(*h.runner().TakeSnapshot());
}

struct ViewCase {
    const char* name;
    std::function<void(ControllerEngine&)> setup;
    const char* reports;                       // see Reports()
    std::vector<std::array<int, 3>> fromDaw{}; // then these short messages
};
} // namespace

// Every kind of report, played in native mode: the view shows what the hardware shows.
TEST(ControllerView, ShowsWhatTheControllerShows) {
    const auto none = [](ControllerEngine&) {};
    const std::vector<ViewCase> cases = {
        {"flash pad held", none, "45 43 64"},
        {"flash pad released", none, "45 43 64, 45 03 00"},
        {"toggle pad", [](ControllerEngine& m) { SetPad(m, 5, 0, "TOGGLE"); }, "45 45 33"},
        {"group pads", [](ControllerEngine& m) { SetPads(m, "1/0 CN1*, 6/0 CN1"); }, "45 46 50"},
        {"mode button held", none, "48 00 7F"},
        {"mode given", none, "48 00 7F, 45 42 40, 45 02 00, 48 00 00"},
        {"bank 3", none, "48 12 7F, 48 12 00"},
        {"note button held", none, "48 03 7F"},
        {"jog modifier held", none, "48 0B 7F"},
        {"knob assign held", none, "48 0D 7F"},
        {"knob", none, "49 00 40, 49 01 7F"},
        {"jog wheel", none, "43 00 7F"},
        {"pedal", none, "47 00 7F"},
        {"XY pad", none, "", {{0xB0, 126, 64}, {0xB0, 127, 3}}},
        {"feedback",
         [](ControllerEngine& m) { SetPad(m, 6, 1, "FDB"); },
         "48 11 7F, 48 11 00",
         {{0x90, 30, 100}}},
    };
    FreshStore store;
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.loadNative();
        c.setup(h.main());
        Reports(h, c.reports);
        for (const auto& [status, data1, data2] : c.fromDaw)
            h.host().raiseMidiInput(status, data1, data2);
        h.settle();
        ControllerView view;
        Feed(view, h);
        EXPECT_EQ(ViewShows(view), HardwareShows(h));
        EXPECT_EQ(view.shownBank(), h.main().intCurrentBank);
        for (int pad = 0; pad < ControllerState::kPads; ++pad)
            EXPECT_EQ(view.legend(pad), LegendOf(h.main(), pad, h.main().intCurrentBank));
    }
}

// A display text shows until the next LED packet, which brings its own text back.
TEST(ControllerView, DisplayTextStandsUntilTheNextPacket) {
    ControllerView view;
    const auto sent = [&](const std::string& text) {
        MonitoredMessage m;
        m.header.sent = true;
        m.header.port = EngineRunner::ToController;
        m.header.size = static_cast<uint16_t>(SysExBytes(text, m.bytes.data(), m.bytes.size()));
        view.take(m);
        return view.lights().display();
    };
    EXPECT_EQ(sent(W("[00 00 00 00 00|2D 5F 2D]")[0]), "-_-");
    EXPECT_EQ(sent("f0 42 40 6e 08 22 04 00 41 42 20 F7"), "AB ");
    EXPECT_EQ(sent(W("+45")[0]), "AB ");
    EXPECT_TRUE(view.lights().padLit(5));
    EXPECT_EQ(sent(W("[00 00 00 00 00|2D 2D 58]")[0]), "X--");
    EXPECT_FALSE(view.lights().padLit(5));
}

// The legend says what a hit sends: the wire agrees for every mode and output setting.
TEST(ControllerView, PadLegendsAgreeWithWhatPadsSend) {
    const struct {
        const char* mode;
        const char* shown;
    } modes[] = {{"FLASH", "FLASH"}, {"TOGGLE", "TGL"}, {"CN1", "CN1"}, {"CN2", "CN2"},
                 {"CN3", "CN3"},     {"TRK", "TRK"},    {"FDB", "FDB"}, {"XYZ", "XYZ"}};
    for (const auto& mode : modes) {
        for (const char* kind : {"MIDI", "CC", "midi", ""}) {
            SCOPED_TRACE(std::string(mode.mode) + " " + kind);
            Started h;
            ControllerEngine& m = h.main();
            m.intCurrentBank = 2;
            SetPad(m, 5, 2, mode.mode, mode.mode == std::string("FDB"));
            for (SettingText* setting :
                 {&m.strFlashMidiCC, &m.strToggleMidiCC, &m.strCN1MidiCC, &m.strCN2MidiCC,
                  &m.strCN3MidiCC, &m.strTRKMidiCC, &m.strFDBMidiCC})
                *setting = kind;
            const PadLegend legend = LegendOf(m, 5, 2);
            h.report("45 45 40");
            std::string sent = "nothing";
            for (const std::string& message : h.wire())
                if (message.size() == 8)
                    sent = message.substr(0, 5);
            const char* expected[] = {"nothing", "90 35", "B0 35"}; // 53 = 24 * 2 + 5
            EXPECT_EQ(sent, expected[legend.output]);
            EXPECT_EQ(legend.mode, mode.shown);
            EXPECT_EQ(legend.sends(), legend.output == PadLegend::Nothing ? ""
                                      : legend.output == PadLegend::Notes ? "note 53"
                                                                          : "CC 53");
        }
    }
}

namespace {
void Drag(ControllerView& view, QPointF from, QPointF to) {
    Mouse(view, QEvent::MouseButtonPress, from);
    Mouse(view, QEvent::MouseMove, to);
    Mouse(view, QEvent::MouseButtonRelease, to);
}
void Wheel(ControllerView& view, QPointF canvasPoint, int notches) {
    const QPointF at = view.canvasToWidget().map(canvasPoint);
    QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}
// A key event at a time stamp of its own, unless one is given (a repeat's release and press
// share one).
void Key(ControllerView& view, QEvent::Type type, int key, bool repeat = false,
         unsigned long at = 0) {
    static unsigned long clock = 1000;
    QKeyEvent event(type, key, Qt::NoModifier, QString(QChar(key)), repeat);
    event.setTimestamp(at ? at : ++clock);
    QApplication::sendEvent(&view, &event);
}
// Lets the key releases that wait for a repeat's press go.
void LetReleasesGo() {
    QEventLoop loop;
    QTimer::singleShot(3 * ControllerView::kRepeatPairMs, &loop, &QEventLoop::quit);
    loop.exec();
}

QPointF NearTopOf(Part part) {
    const QRectF r = ControllerLayout::RectOf(part);
    return {r.center().x(), r.top() + r.height() / 10};
}

struct PlayCase {
    const char* name;
    std::function<void(ControllerView&)> play;
    const char* reports;                       // the hardware's reports of the same playing
    std::vector<std::array<int, 3>> xyMoves{}; // or its XY-pad messages
};
} // namespace

// What the screen plays reaches the engine as the hardware's reports do, byte for byte.
TEST(ControllerView, PlaysAsTheControllerDoes) {
    using Q = QEvent;
    const std::vector<PlayCase> cases = {
        {"pad hit near its top",
         [](ControllerView& v) {
             Click(v, NearTopOf({Part::Pad, 3}));
         },
         "45 43 72, 45 03 00"},
        {"pad hit in its middle",
         [](ControllerView& v) {
             Click(v, Centre({Part::Pad, 15}));
         },
         "45 4F 40, 45 0F 00"},
        {"key Q plays pad 5",
         [](ControllerView& v) {
             Key(v, Q::KeyPress, Qt::Key_Q);
             Key(v, Q::KeyPress, Qt::Key_Q, true);
             Key(v, Q::KeyRelease, Qt::Key_Q, true);
             Key(v, Q::KeyRelease, Qt::Key_Q);
         },
         "45 44 64, 45 04 00"},
        {"keys 1 and V, held together",
         [](ControllerView& v) {
             Key(v, Q::KeyPress, Qt::Key_1);
             Key(v, Q::KeyPress, Qt::Key_V);
             Key(v, Q::KeyRelease, Qt::Key_1);
             Key(v, Q::KeyRelease, Qt::Key_V);
         },
         "45 40 64, 45 4F 64, 45 00 00, 45 0F 00"},
        {"mode button held by a click over a pad hit, let go by the next",
         [](ControllerView& v) {
             Click(v, Centre({Part::Button, 0}));
             Key(v, Q::KeyPress, Qt::Key_A);
             EXPECT_EQ(v.latchedButton(), 0);
             Click(v, Centre({Part::Button, 0}));
             EXPECT_EQ(v.latchedButton(), std::nullopt);
         },
         "48 00 7F, 45 48 64, 48 00 00"},
        {"bank 2 held by a click, let go by a click on bank 1",
         [](ControllerView& v) {
             Click(v, Centre({Part::Button, 5}));
             Click(v, Centre({Part::Button, 6}));
         },
         "48 11 7F, 48 11 00, 48 10 7F"},
        {"note button 6",
         [](ControllerView& v) {
             Click(v, Centre({Part::Button, 16}));
         },
         "48 08 7F, 48 08 00"},
        {"jog modifier 3",
         [](ControllerView& v) {
             Click(v, Centre({Part::Button, 10}));
         },
         "48 0F 7F, 48 0F 00"},
        {"knob 2 assign",
         [](ControllerView& v) {
             Click(v, Centre({Part::Button, 18}));
         },
         "48 0E 7F, 48 0E 00"},
        {"knob 1 wheel",
         [](ControllerView& v) {
             Wheel(v, Centre({Part::Knob, 0}), 2);
         },
         "49 00 01, 49 00 02"},
        {"knob 2 dragged up",
         [](ControllerView& v) {
             const QPointF at = Centre({Part::Knob, 1});
             Drag(v, at, at - QPointF(0, 20));
         },
         "49 01 0A"},
        {"jog wheel wheel", [](ControllerView& v) { Wheel(v, Centre({Part::JogWheel}), -1); },
         "43 00 7F"},
        {"jog wheel dragged right",
         [](ControllerView& v) {
             const QPointF at = Centre({Part::JogWheel});
             Drag(v, at, at + QPointF(25, 0));
         },
         "43 00 01, 43 00 01"},
        {"pedal", [](ControllerView& v) { Click(v, Centre({Part::Pedal})); }, "47 00 7F, 47 00 00"},
        {"XY pad, then one axis",
         [](ControllerView& v) {
             const QRectF r = ControllerLayout::xyPadRect();
             const QPointF at(r.left() + 0.3 * r.width(), r.bottom() - 0.8 * r.height());
             Drag(v, at, QPointF(r.right(), at.y()));
         },
         "",
         {{0xB0, 126, 38}, {0xB0, 127, 102}, {0xB0, 126, 127}}},
    };
    FreshStore store;
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        Harness screen, hardware;
        screen.loadNative();
        hardware.loadNative();
        ControllerView view;
        view.resize(1000, 700); // not the canvas's own size or shape
        view.setInputSink([&](std::vector<uint8_t> bytes) {
            screen.runner().PostInput(bytes.data(), bytes.size());
            screen.settle();
        });
        c.play(view);
        LetReleasesGo();
        Reports(hardware, c.reports);
        for (const auto& [status, data1, data2] : c.xyMoves)
            hardware.host().raiseMidiInput(status, data1, data2);
        EXPECT_EQ(screen.wire(), hardware.wire());
        EXPECT_FALSE(hardware.wire().empty());
    }
}

// Keys still held when the window stops being the active one are released: no pad stays held.
TEST(ControllerView, LeavingTheWindowReleasesHeldKeys) {
    ControllerView view;
    std::vector<Bytes> sent;
    view.setInputSink([&](std::vector<uint8_t> bytes) { sent.push_back(bytes); });
    Key(view, QEvent::KeyPress, Qt::Key_F);
    QEvent left(QEvent::ActivationChange);
    QApplication::sendEvent(&view, &left);
    Key(view, QEvent::KeyRelease, Qt::Key_F);
    EXPECT_EQ(sent, (std::vector<Bytes>{ReportBytes(PadHit(11, kKeyVelocity)),
                                        ReportBytes(PadRelease(11))}));
}

// However the window system repeats a held key (flagged repeats, presses alone, or unflagged
// release and press pairs of one time stamp, as X servers send them), it hits its pad once; a
// new press of another time stamp is a new hit. Events of key W: "+" press, "-" release, the time
// stamp, "r" when flagged as a repeat.
TEST(ControllerView, AHeldKeyHitsOnce) {
    const struct {
        const char* events;
        int hits;
    } cases[] = {{"+10 -40r +40r -90", 1},
                 {"+10 +40 +80 -90", 1},
                 {"+10 -40 +40 -80 +80 -90", 1},
                 {"+10 -40 +41 -90", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.events);
        ControllerView view;
        std::vector<Bytes> sent;
        view.setInputSink([&](std::vector<uint8_t> bytes) { sent.push_back(bytes); });
        std::istringstream events(c.events);
        for (std::string e; events >> e;)
            Key(view, e[0] == '+' ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_W,
                e.back() == 'r', std::stoul(e.substr(1)));
        LetReleasesGo();
        std::vector<Bytes> expected;
        for (int hit = 0; hit < c.hits; ++hit) {
            expected.push_back(ReportBytes(PadHit(5, kKeyVelocity)));
            expected.push_back(ReportBytes(PadRelease(5)));
        }
        EXPECT_EQ(sent, expected);
    }
}

// Not a check: plays a while on screen and keeps pictures of the view and the monitor in /tmp
// (run with --gtest_also_run_disabled_tests).
TEST(ControllerView, DISABLED_Pictures) {
    FreshStore store;
    Harness h;
    h.loadNative();
    ControllerView view;
    MidiMonitor monitor;
    view.resize(ControllerLayout::kCanvas.toSize());
    monitor.resize(900, 420);
    view.setInputSink([&](std::vector<uint8_t> bytes) {
        h.runner().PostInput(bytes.data(), bytes.size());
        h.settle();
        for (const MonitoredMessage& m : h.runner().TakeMonitored()) {
            view.take(m);
            monitor.take(m, h.main());
        }
        view.showState(*h.runner().TakeSnapshot());
    });
    const auto give = [&](int modeButton, std::initializer_list<int> keys) {
        Mouse(view, QEvent::MouseButtonPress, Centre({Part::Button, modeButton}));
        for (int key : keys) {
            Key(view, QEvent::KeyPress, key);
            Key(view, QEvent::KeyRelease, key);
        }
        Mouse(view, QEvent::MouseButtonRelease, Centre({Part::Button, modeButton}));
    };
    give(0, {Qt::Key_2, Qt::Key_3});            // TOGGLE
    give(1, {Qt::Key_Q, Qt::Key_W, Qt::Key_E}); // CN1
    give(7, {Qt::Key_Z});                       // TRK
    give(3, {Qt::Key_V});                       // FDB
    for (int key : {Qt::Key_2, Qt::Key_W}) {
        Key(view, QEvent::KeyPress, key);
        Key(view, QEvent::KeyRelease, key);
    }
    Wheel(view, Centre({Part::Knob, 0}), 5);
    Wheel(view, Centre({Part::JogWheel}), -2);
    Click(view, NearTopOf({Part::Pad, 9}));
    Drag(view, ControllerLayout::xyPadRect().center(), ControllerLayout::xyPadRect().topLeft());
    Mouse(view, QEvent::MouseButtonPress, Centre({Part::Button, 11}));
    Key(view, QEvent::KeyPress, Qt::Key_S);
    view.grab().save(QStringLiteral("/tmp/orvan-controller-view.png"));
    monitor.grab().save(QStringLiteral("/tmp/orvan-midi-monitor.png"));
}
