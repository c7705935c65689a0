#include "Kit.h"
#include "protocol/HexText.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

TEST(InputDispatch, PedalSendsNote64OnTheGlobalChannel) {
    const struct {
        int16_t channel;
        const char* report;
        const char* wire;
    } cases[] = {{0, "47 00 7F", "90 40 7F"},
                 {0, "47 00 00", "90 40 00"},
                 {0, "47 33 01", "90 40 00"},
                 {15, "47 00 7F", "9F 40 7F"}};
    for (const auto& c : cases) {
        Started h;
        h.main().intMidiChannel = c.channel;
        h.report(c.report);
        EXPECT_EQ(h.wire(), W(c.wire)) << c.report;
    }
}

TEST(InputDispatch, MalformedOrForeignInputChangesNothing) {
    const char* messages[] = {
        "F0 42 40 6E 08 45 43 F7",    // ends before the velocity
        "F0 42 40 6E 08 45 F7",       // ends before the pad byte
        "F0 42 40 6E 08 47 00 F7",    // pedal without its value
        "F0 42 40 6E 08 F7",          // header only
        "F0 42 40 6E 08",             // cut off
        "F0 42 40 6E",                // shorter than the header
        "",                           // nothing
        "f0 42 40 6e 08 45 43 64 f7", // lower-case header
        "F0 42 40 6E 09 45 43 64 F7", // another device
        "F0 42 40 6E 08 45 4G 64 F7", // pad byte not hex
        "F0 42 40 6E 08 45 G4 64 F7", // pad byte not hex
        "F0 42 40 6E 08 45 5A 64 F7", // beyond the hit range
        "F0 42 40 6E 08 45 10 64 F7", // beyond the release range
        "F0 42 40 6E 08 45 3F 64 F7", // between the ranges
        "F0 42 40 6E 08 45 4 64 F7",  // one digit
        "F0 42 40 6E 08 44 43 64 F7", // unknown report kind
        "F0 42 40 6E 08 48 20 7F F7", // switch 20 is no button
        "hello",
    };
    for (const char* message : messages) {
        SCOPED_TRACE(message);
        Started h;
        SetPad(h.main(), 3, 0, "TOGGLE");
        h.main().strToggleMidiCC = h.main().strFlashMidiCC = "MIDI";
        const ControllerState before = h.main();
        h.host().raiseSysEx(message);
        EXPECT_TRUE(h.wire().empty());
        EXPECT_EQ(h.main().bPadState, before.bPadState);
        EXPECT_EQ(h.main().strPadMode, before.strPadMode);
        EXPECT_TRUE(h.messages().shown.empty());
    }
}

TEST(InputDispatch, SysExIgnoredWhileInitialising) {
    Started h;
    h.main().strFlashMidiCC = "MIDI";
    h.main().bInitialising = true;
    Reports(h, "45 43 64, 47 00 7F");
    EXPECT_TRUE(h.wire().empty());
    h.host().raiseMidiInput(0x90, 81, 127); // short messages are handled throughout
    EXPECT_EQ(h.wire().size(), 4u);
}

// Pads 0, 5 and 15 of every bank are lit "FDB" pads, pad 7 of bank 0 a dark "Fdb" pad; the pad
// fed back starts in the state given. Bank 0 is shown, whatever bank the feedback is for.
TEST(InputDispatch, FeedbackSwitchesFeedbackPads) {
    const struct {
        int32_t status, data1, data2;
        bool before;
        const char* lit;  // the lit pads of the bank fed back
        const char* leds; // the packet sent
    } cases[] = {
        {0x90, 5, 100, false, "0/0 5/0 15/0", "21 00 02 00 00"},
        {0x90, 5, 63, false, "0/0 5/0 15/0", "21 00 02 00 00"},
        {0x90, 5, 62, true, "0/0 15/0", "01 00 02 00 00"},
        {0x90, 5, -5, true, "0/0 15/0", "01 00 02 00 00"},
        {0x80, 5, 100, true, "0/0 15/0", "01 00 02 00 00"}, // note-off
        {0x8F, 5, 100, true, "0/0 15/0", "01 00 02 00 00"}, // note-off, channel 16
        {0xA3, 5, 100, false, "0/0 5/0 15/0", "21 00 02 00 00"},
        {0x90, 7, 100, false, "0/0 5/0 7/0 15/0", "21 01 02 00 00"},
        {0x90, 24, 62, true, "5/1 15/1", "21 00 02 00 00"},
        {0x90, 39, 100, false, "0/1 5/1 15/1", "21 00 02 00 00"},
        {0x90, 48, 0, true, "5/2 15/2", "21 00 02 00 00"},
        {0x90, 63, 127, false, "0/2 5/2 15/2", "21 00 02 00 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << ' ' << c.data1 << ' ' << c.data2);
        Started h;
        frmMain& w = h.main();
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            for (int pad : {0, 5, 15})
                SetPad(w, pad, bank, "FDB", true);
        SetPad(w, 7, 0, "Fdb");
        w.bPadState[c.data1 % 24][c.data1 / 24] = c.before;
        h.host().raiseMidiInput(c.status, c.data1, c.data2);
        EXPECT_EQ(Lit(w, c.data1 / 24), c.lit);
        EXPECT_EQ(h.wire(), W(std::string("[") + c.leds + "]"));
    }
}

// Every pad "FDB" but pad 5 of bank 0, a lit "TOGGLE" pad; pad 0 of bank 2 lit.
TEST(InputDispatch, NoFeedbackOutsideThePadNumbersOrTheFeedbackPads) {
    const int32_t cases[][3] = {
        {0x90, 16, 100},    {0x90, 23, 100},    {0x90, 40, 100}, {0x90, 47, 100}, {0x90, 64, 100},
        {0x90, 20, 100},    {0xB0, 5, 100},     {0xBF, 0, 0},    {0xB0, 48, 0},   {0x90, -1, 100},
        {0xB0, INT_MAX, 0}, {0x90, INT_MIN, 0}, {0x90, 5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << ' ' << c[1] << ' ' << c[2]);
        Started h;
        for (auto& pad : h.main().strPadMode)
            pad.fill("FDB");
        SetPad(h.main(), 5, 0, "TOGGLE", true);
        h.main().bPadState[0][2] = true;
        h.host().raiseMidiInput(c[0], c[1], c[2]);
        EXPECT_TRUE(h.wire().empty());
        EXPECT_EQ(Lit(h.main()), "5/0 0/2");
    }
}

// Note 81 with a velocity above 100, any status: four controllers on channel 1 whatever the
// global channel.
TEST(InputDispatch, FixedTrigger) {
    const struct {
        int32_t status, data1, data2;
        bool fires;
    } cases[] = {
        {0x90, 81, 101, true},  {0xB5, 81, 127, true},  {0x80, 81, 101, true},
        {0x90, 81, 100, false}, {0x90, 80, 127, false}, {0x90, 82, 127, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << ' ' << c.data1 << ' ' << c.data2);
        Started h;
        h.main().intMidiChannel = 9;
        h.host().raiseMidiInput(c.status, c.data1, c.data2);
        EXPECT_EQ(h.wire(), W(c.fires ? "B0 58 7F, B0 57 7F, B0 56 7F, B0 55 7F" : ""));
    }
}

namespace {
// A recording host whose far end answers what it receives.
class AnsweringHost : public RecordingHost {
public:
    std::function<void(int32_t status, int32_t data1, int32_t data2)> onMessage;

    void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) override {
        RecordingHost::HostSendMessage(port, status, data1, data2);
        if (onMessage)
            onMessage(status, data1, data2);
    }
};

// A loaded window whose FLASH pads play notes, on an answering host.
struct AnsweringWindow {
    AnsweringWindow() {
        w.Form_Load();
        w.strFlashMidiCC = "MIDI";
        host.wire.clear();
    }

    MessageAnswers answers;
    std::unique_ptr<AnsweringHost> owned = std::make_unique<AnsweringHost>();
    AnsweringHost& host = *owned;
    frmMain w{[this]() -> std::unique_ptr<MidiHost> { return std::move(owned); }};
};
} // namespace

// Each pad note is answered by a pulse, during which the next pad report arrives. The ninth
// report would nest a ninth wait, so it and the two after it wait until the eighth pulse is over,
// and then run one after another, in arrival order.
TEST(InputDispatch, NestingStopsAtTheWaitBound) {
    static_assert(frmMain::kMaxWaitDepth == 8);
    AnsweringWindow aw;
    auto& [answers, owned, host, w] = aw;

    auto padHit = [](int pad) { return "F0 42 40 6E 08 45 " + HexByte(0x40 + pad) + " 64 F7"; };
    host.onMessage = [&](int32_t status, int32_t data1, int32_t data2) {
        if (status != 0x90 || data1 >= 16 || data2 == 0)
            return; // only pad note-ons are answered
        const int pad = data1;
        const int arrivals = pad < 7 ? 1 : pad == 7 ? 3 : 0;
        for (int next = pad + 1; next <= pad + arrivals; ++next)
            QTimer::singleShot(0, &w, [&host, padHit, next] { host.raiseSysEx(padHit(next)); });
        w.PulsedMidiOutPut(0, static_cast<int16_t>(100 + pad));
    };
    host.raiseSysEx(padHit(0));

    std::string expected;
    auto played = [&](int pad) {
        expected += "+" + HexByte(0x40 + pad) + ", 90 " + HexByte(pad) + " 64, 90 " +
                    HexByte(100 + pad) + " 7F, ";
    };
    auto ended = [&](int pad) { expected += "90 " + HexByte(100 + pad) + " 00, "; };
    for (int pad = 0; pad <= 7; ++pad)
        played(pad);
    ended(7);
    for (int pad = 8; pad <= 10; ++pad) {
        played(pad);
        ended(pad);
    }
    for (int pad = 6; pad >= 0; --pad)
        ended(pad);
    EXPECT_EQ(host.wire, W(expected));
    EXPECT_EQ(w.DeepestWaitDepth(), frmMain::kMaxWaitDepth);
    EXPECT_EQ(w.WaitDepth(), 0);
    EXPECT_TRUE(answers.shown.empty());
}

// Input held at the wait bound is kept up to a limit; beyond it, it is dropped and counted.
TEST(InputDispatch, HeldInputIsBounded) {
    AnsweringWindow aw;
    auto& [answers, owned, host, w] = aw;
    constexpr size_t kExtra = 10;
    host.onMessage = [&](int32_t status, int32_t data1, int32_t data2) {
        if (status != 0x90 || data1 >= 16 || data2 == 0)
            return;
        const int pad = data1;
        QTimer::singleShot(0, &w, [&host, pad] {
            if (pad < frmMain::kMaxWaitDepth - 1) {
                host.raiseSysEx("F0 42 40 6E 08 45 " + HexByte(0x41 + pad) + " 64 F7");
                return;
            }
            for (size_t i = 0; i < frmMain::kMaxHeldInput + kExtra; ++i)
                host.raiseSysEx("F0 42 40 6E 08 47 00 7F F7"); // the pedal
        });
        w.PulsedMidiOutPut(0, static_cast<int16_t>(100 + pad));
    };
    host.raiseSysEx("F0 42 40 6E 08 45 40 64 F7");
    const auto pedals = std::count(host.wire.begin(), host.wire.end(), "90 40 7F");
    EXPECT_EQ(static_cast<size_t>(pedals), frmMain::kMaxHeldInput);
    EXPECT_EQ(w.DroppedInput(), static_cast<long>(kExtra));
    EXPECT_EQ(w.DeepestWaitDepth(), frmMain::kMaxWaitDepth);
}
