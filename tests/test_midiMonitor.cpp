#include "FreshStore.h"
#include "Kit.h"
#include "ui/ControllerView.h"
#include "ui/MidiMonitor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
constexpr bool kIn = false, kOut = true;
constexpr auto kController = EngineRunner::FromController, kDaw = EngineRunner::FromDaw,
               kScreen = EngineRunner::FromWindow;
constexpr auto kToController = EngineRunner::ToController, kToDaw = EngineRunner::ToDaw;

// A monitored message from hex pairs; size, when given, is the whole message's.
MonitoredMessage Message(bool sent, uint8_t port, Frame frame, const std::string& hex,
                         size_t size = 0) {
    MonitoredMessage m;
    size_t kept = 0;
    for (size_t at = 0; at + 1 < hex.size(); at += 3)
        m.bytes[kept++] = static_cast<uint8_t>(std::stoi(hex.substr(at, 2), nullptr, 16));
    m.header = {frame, sent, port, static_cast<uint16_t>(size ? size : kept)};
    return m;
}

const std::string kReport = "F0 42 40 6E 08 ";
const ControllerState kFlashPads = [] {
    ControllerState state;
    for (auto& pad : state.strPadMode)
        pad.fill("FLASH");
    return state;
}();
} // namespace

// The engine's own messages, from native mode on, line by line.
TEST(MidiMonitor, TellsTheEnginesMessagesInPlainWords) {
    FreshStore store;
    Harness h;
    h.loadNative();
    Reports(h, "45 45 30, 45 05 00, 48 11 7F, 49 00 40, 43 00 7F, 47 00 7F");
    h.main().strPadMode[6][1] = "FDB";
    h.host().raiseMidiInput(0x90, 30, 100);
    h.host().raiseMidiInput(0xB0, 126, 3);
    h.settle();
    MonitorDecoder decoder;
    std::vector<std::string> lines;
    for (const MonitoredMessage& m : h.runner().TakeMonitored())
        lines.push_back(decoder.decode(m, h.main(), 0).words.text);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "entry: switch-on",
                         "entry: LED packet: no pads lit, display EXX",
                         "entry: setup packet",
                         "note 16 (E-1), velocity 127, channel 1",
                         "note 16 (E-1), velocity 0, channel 1",
                         "LED packet: no pads lit, display blank, bank button 1 lit",
                         "LED packet: no pads lit, display -_-, bank button 1 lit",
                         "LED packet: no pads lit, display -_-, bank button 1 lit",
                         "pad 6 hit, velocity 48",
                         "→ LED pad 6 on",
                         "→ note 5 (F-2), velocity 48, channel 1",
                         "pad 6 released",
                         "→ LED pad 6 off",
                         "→ note 5 (F-2), velocity 0, channel 1",
                         "bank button 2 pressed",
                         "→ note 17 (F-1), velocity 127, channel 1",
                         "note 17 (F-1), velocity 0, channel 1",
                         "LED packet: no pads lit, display -_-, bank button 2 lit",
                         "LED packet: no pads lit, display B 2, bank button 2 lit",
                         "knob 1 to 64",
                         "→ note 21 (A-1), velocity 127, channel 1",
                         "note 21 (A-1), velocity 0, channel 1",
                         "jog wheel left",
                         "→ note 40 (E1), velocity 127, channel 1",
                         "note 40 (E1), velocity 0, channel 1",
                         "LED packet: no pads lit, display X--, bank button 2 lit",
                         "pedal pressed",
                         "→ note 64 (E3), velocity 127, channel 1",
                         "feedback note 30 (F#0) → pad 7 of bank 2 (FDB) lit",
                         "→ LED packet: pad 7 lit, display X--, bank button 2 lit",
                         "XY pad X to 3",
                         "→ controller 125, value 3, channel 1",
                     }));
}

// Each message on its own, at frames far apart: no answers.
TEST(MidiMonitor, TellsEveryKindOfMessage) {
    using K = MonitorKind;
    const struct {
        bool sent;
        uint8_t port;
        std::string hex;
        const char* words;
        MonitorKind kind;
    } cases[] = {
        {kIn, kScreen, kReport + "45 4F 7F F7", "pad 16 hit, velocity 127", K::Pads},
        {kIn, kController, kReport + "45 2A 00 F7", "pad report for no pad (2A)", K::Other},
        {kIn, kController, kReport + "48 00 7F F7", "TOGGLE button pressed", K::Buttons},
        {kIn, kController, kReport + "48 0A 00 F7", "FDB button released", K::Buttons},
        {kIn, kController, kReport + "48 12 7F F7", "bank button 3 pressed", K::Buttons},
        {kIn, kController, kReport + "48 05 7F F7", "note button 3 pressed (holds note repeat on)",
         K::Buttons},
        {kIn, kController, kReport + "48 0C 7F F7", "jog modifier 2 pressed", K::Buttons},
        {kIn, kController, kReport + "48 0E 00 F7", "knob 2 assign button released", K::Buttons},
        {kIn, kController, kReport + "48 20 7F F7", "switch 20 pressed", K::Buttons},
        {kIn, kController, kReport + "49 01 7F F7", "knob 2 to 127", K::Controls},
        {kIn, kController, kReport + "43 00 01 F7", "jog wheel right", K::Controls},
        {kIn, kController, kReport + "47 00 00 F7", "pedal released (taps the own tempo)",
         K::Buttons},
        {kIn, kController, "E0 7F 7F", "XY pad Y to 127", K::Controls},
        {kIn, kController, kReport + "4A 00 F7", "SysEx F0 42 40 6E 08 4A 00 F7", K::Other},
        {kIn, kDaw, "80 1E 40", "feedback note-off 30 (F#0) → pad 7 of bank 2 (FDB) dark",
         K::Notes},
        {kIn, kController, "91 3F 3E", "feedback note 63 (D#3) → pad 16 of bank 3 (FDB) dark",
         K::Notes},
        {kIn, kDaw, "90 00 64",
         "feedback note 0 (C-2) → pad 1 of bank 1 is FLASH: feedback ignored", K::Notes},
        {kIn, kDaw, "90 14 64", "note 20 (G#-1), velocity 100, channel 1 (no pad's number)",
         K::Notes},
        {kIn, kDaw, "B0 05 64", "controller 5, value 100, channel 1", K::Notes},
        {kIn, kDaw, "C2 05", "program 5, channel 3", K::Other},
        {kIn, kDaw, "E0 05 40", "pitch bend 5, value 64, channel 1", K::Other},
        {kOut, kToController, "F0 42 40 6E 08 01 10 20 F7", "LED TOGGLE button on", K::Lights},
        {kOut, kToController, "F0 42 40 6E 08 01 4F 00 F7", "LED pad 16 off", K::Lights},
        {kOut, kToController, "F0 42 40 6E 08 22 04 00 54 47 4C F7", "display TGL", K::Lights},
        {kOut, kToController, "F0 42 40 6E 08 3F 0A 01 05 00 04 00 40 00 4C 47 54 F7",
         "LED packet: pads 1 3 lit, display TGL, TOGGLE button, bank button 3 lit", K::Lights},
        {kOut, kToDaw, "8F 05 00", "note-off 5 (F-2), velocity 0, channel 16", K::Notes},
        {kOut, kToDaw, "BF 10 7F", "controller 16, value 127, channel 16", K::Notes},
        {kOut, kToDaw, "E0 00 40", "pitch bend 0, value 64, channel 1", K::Other},
    };
    ControllerState pads = kFlashPads;
    pads.strPadMode[6][1] = pads.strPadMode[15][2] = "FDB";
    pads.intRepeatControl = static_cast<int16_t>(NoteButtonControl(2));
    pads.intTapTempoControl = static_cast<int16_t>(RepeatControl::Pedal);
    MonitorDecoder decoder;
    Frame frame = 0;
    for (const auto& c : cases) {
        const MonitorLine line =
            decoder.decode(Message(c.sent, c.port, frame += 480, c.hex), pads, 0);
        EXPECT_EQ(line.words.text, c.words);
        EXPECT_EQ(line.words.kind, c.kind) << c.words;
    }
    // Only the first bytes of a long message are kept.
    const std::string text =
        decoder.decode(Message(kOut, kToController, frame, kReport + "3F 2A 00", 70), pads, 0)
            .words.text;
    EXPECT_TRUE(text.starts_with("SysEx F0 42 40 6E 08 3F 2A 00 00")) << text;
    EXPECT_TRUE(text.ends_with(" 00 ...")) << text;
    EXPECT_EQ(text.size(), 6 + 64 * 3 - 1 + 4);
}

// The time of day with milliseconds, the direction, the port and the bytes (cut when long, whole
// in the full text); what is sent at the frame of the input before answers it.
TEST(MidiMonitor, LinesCarryTimeDirectionPortAndBytes) {
    MonitorDecoder decoder;
    const int64_t at = ((13 * 60 + 4) * 60 + 5) * 1000 + 67; // 13:04:05.067
    const struct {
        MonitoredMessage message;
        int64_t ms;
        const char* line;
    } cases[] = {
        {Message(kIn, kController, 1000, kReport + "45 40 01 F7"), at,
         "13:04:05.067  in  controller      F0 42 40 6E 08 45 40 01 F7  pad 1 hit, velocity 1"},
        {Message(kOut, kToDaw, 1000, "90 24 01"), at,
         "13:04:05.067  out music software  90 24 01                    → note 36 (C1), velocity "
         "1, channel 1"},
        {Message(kOut, kToDaw, 2000, "9F 3D 00"), at + 999,
         "13:04:06.066  out music software  9F 3D 00                    note 61 (C#3), velocity 0, "
         "channel 16"},
        {Message(kOut, kToController, 3000, "F0 42 40 6E 08 22 04 00 54 47 4C F7"), 0,
         "00:00:00.000  out controller      F0 42 40 6E 08 22 04 ...    display TGL"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoder.decode(c.message, kFlashPads, c.ms).text(), c.line);
    EXPECT_TRUE(decoder.decode(cases[3].message, kFlashPads, 0)
                    .fullText()
                    .find("F0 42 40 6E 08 22 04 00 54 47 4C F7  display TGL") != std::string::npos);
}

namespace {
// A monitor fed a pad hit from the controller with its LED and note answers, and a knob report.
struct MidiMonitorWidget : ::testing::Test {
    MidiMonitor monitor;
    Frame frame = 0;

    void play() {
        frame += 48;
        monitor.take(Message(kIn, kController, frame, kReport + "45 45 30 F7"), kFlashPads);
        monitor.take(Message(kOut, kToController, frame, "F0 42 40 6E 08 01 45 20 F7"), kFlashPads);
        monitor.take(Message(kOut, kToDaw, frame, "90 05 30"), kFlashPads);
        monitor.take(Message(kIn, kController, frame, kReport + "49 00 40 F7"), kFlashPads);
    }
    // The words of each shown line.
    std::vector<std::string> shown() const {
        std::vector<std::string> words;
        for (const QString& line : monitor.shownText().split('\n', Qt::SkipEmptyParts))
            words.push_back(line.mid(62).toStdString());
        return words;
    }
};
} // namespace

TEST_F(MidiMonitorWidget, FiltersByDirectionAndKind) {
    play();
    const std::vector<std::string> all = {"pad 6 hit, velocity 48", "→ LED pad 6 on",
                                          "→ note 5 (F-2), velocity 48, channel 1", "knob 1 to 64"};
    EXPECT_EQ(shown(), all);
    monitor.chkOut->setChecked(false);
    EXPECT_EQ(shown(), (std::vector<std::string>{all[0], all[3]}));
    monitor.chkKinds[static_cast<int>(MonitorKind::Pads)]->setChecked(false);
    EXPECT_EQ(shown(), (std::vector<std::string>{all[3]}));
    monitor.chkOut->setChecked(true);
    monitor.chkKinds[static_cast<int>(MonitorKind::Controls)]->setChecked(false);
    monitor.chkKinds[static_cast<int>(MonitorKind::Notes)]->setChecked(false);
    EXPECT_EQ(shown(), (std::vector<std::string>{all[1]}));
    play();
    EXPECT_EQ(shown(), (std::vector<std::string>{all[1], all[1]}));
}

// Paused, the shown lines stand still and new ones are kept aside until resuming.
TEST_F(MidiMonitorWidget, PauseKeepsNewLinesAsideClearForgetsCopyTakesTheShownLines) {
    play();
    monitor.btnPause->click();
    play();
    EXPECT_EQ(shown().size(), 4u);
    monitor.btnCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), monitor.shownText());
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 3);
    monitor.btnPause->click();
    EXPECT_EQ(shown().size(), 8u);
    monitor.btnClear->click();
    EXPECT_TRUE(shown().empty());
    play();
    EXPECT_EQ(shown().size(), 4u);
}

TEST_F(MidiMonitorWidget, FiltersByChannelSavesEveryByteAndSaysItIsPaused) {
    play();
    monitor.take(Message(kOut, kToDaw, frame, "92 05 30"), kFlashPads);
    const std::string display = "F0 42 40 6E 08 22 04 00 54 47 4C F7";
    monitor.take(Message(kOut, kToController, frame, display), kFlashPads);
    monitor.cmbChannel->setCurrentIndex(3);
    EXPECT_EQ(shown(), (std::vector<std::string>{"→ note 5 (F-2), velocity 48, channel 3"}));
    monitor.cmbChannel->setCurrentIndex(0);
    EXPECT_EQ(shown().size(), 6u);
    EXPECT_EQ(monitor.shownText().indexOf(QString::fromStdString(display)), -1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    ASSERT_TRUE(monitor.saveTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(file.readAll());
    EXPECT_EQ(saved.count(QLatin1Char('\n')), 6);
    EXPECT_NE(saved.indexOf(QString::fromStdString(display)), -1) << saved.toStdString();
    EXPECT_FALSE(monitor.saveTo(dir.filePath(QStringLiteral("no/such/folder"))));

    monitor.btnPause->click();
    play();
    EXPECT_EQ(monitor.btnPause->text().toStdString(), "Resume");
    EXPECT_EQ(monitor.paused->text().toStdString(), "Paused: 4 new lines wait");
    monitor.btnPause->click();
    EXPECT_EQ(monitor.btnPause->text().toStdString(), "Pause");
    EXPECT_TRUE(monitor.paused->text().isEmpty());
}

TEST_F(MidiMonitorWidget, KeepsTheLastLines) {
    monitor.btnPause->click();
    monitor.take(Message(kIn, kController, frame, kReport + "47 00 7F F7"), kFlashPads);
    for (int i = 0; i < MidiMonitor::kMaxLines / 4; ++i)
        play();
    monitor.btnPause->click();
    EXPECT_EQ(shown().size(), static_cast<size_t>(MidiMonitor::kMaxLines));
    EXPECT_EQ(shown().front(), "pad 6 hit, velocity 48");
    play();
    EXPECT_EQ(monitor.lines->blockCount(), MidiMonitor::kMaxLines);
}

// A flood: one look at the engine adds only the newest lines and counts the others in one, so
// the window keeps up; the controller view still follows every message the controller was sent.
TEST(MidiMonitorFlood, OneLookAddsOnlyTheNewestLines) {
    FreshStore store;
    Harness h;
    h.loadNative();
    h.main().strFlashMidiCC = "MIDI";
    h.window().RefreshFromHost();
    const qsizetype before = h.window().midiMonitor->shownText().split(QLatin1Char('\n')).size();
    h.host().after(0, [&h] {
        for (int i = 0; i < 1000; ++i)
            h.report(i % 2 ? "45 05 00" : "45 45 30");
        h.report("45 46 30");
    });
    h.host().cycle();
    h.window().RefreshFromHost();
    const QStringList shown = h.window().midiMonitor->shownText().split(QLatin1Char('\n'));
    ASSERT_EQ(shown.size(), before + 1 + static_cast<qsizetype>(MidiMonitor::kLinesAtOnce));
    EXPECT_TRUE(shown[before].endsWith(QStringLiteral("2953 messages not shown: too many at once")))
        << shown[before].toStdString();
    EXPECT_TRUE(shown.back().endsWith(QStringLiteral("→ note 6 (F#-2), velocity 48, channel 1")));
    EXPECT_TRUE(h.window().controllerView->lights().padLit(6));
    EXPECT_FALSE(h.window().controllerView->lights().padLit(5));
}
