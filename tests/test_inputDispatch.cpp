#include "protocol/HexText.h"
#include "support/Harness.h"
#include "wireTexts.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {
using Wire = std::vector<std::string>;

// Every pad plays, so that any pad call shows on the wire.
void allPadsPlay(frmMain& w) {
    w.strFlashMidiCC = "MIDI";
}
} // namespace

TEST(InputDispatch, PadReports) {
    const struct {
        const char* name;
        bool fixed;
        const char* report;
        Wire wire;
    } cases[] = {
        {"hit", false, "45 41 64", {ledOn("41"), "90 01 64"}},
        {"hit, fixed velocity", true, "45 41 64", {ledOn("41"), "90 01 7F"}},
        {"release", false, "45 01 00", {ledOff("01"), "90 01 00"}},
        {"release, fixed velocity", true, "45 01 00", {ledOff("01"), "90 01 00"}},
        {"pad 15 hit", false, "45 4F 01", {ledOn("4F"), "90 0F 01"}},
        {"pad 15 release", false, "45 0F 00", {ledOff("0F"), "90 0F 00"}},
        {"pad 0 hit", false, "45 40 7F", {ledOn("40"), "90 00 7F"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        allPadsPlay(h.main());
        h.main().bFixedVelocity = c.fixed;
        h.report(c.report);
        EXPECT_EQ(h.wire(), c.wire);
    }
}

TEST(InputDispatch, Pedal) {
    const struct {
        int16_t channel;
        const char* report;
        const char* wire;
    } cases[] = {
        {0, "47 00 7F", "90 40 7F"},
        {0, "47 00 00", "90 40 00"},
        {0, "47 33 01", "90 40 00"},
        {15, "47 00 7F", "9F 40 7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        Harness h;
        h.load();
        h.main().intMidiChannel = c.channel;
        h.report(c.report);
        EXPECT_EQ(h.wire(), Wire{c.wire});
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
        Harness h;
        h.load();
        allPadsPlay(h.main());
        setPad(h.main(), 3, 0, "TOGGLE");
        h.main().strToggleMidiCC = "MIDI";
        const ControllerState before = h.main();
        h.host().raiseSysEx(message);
        EXPECT_TRUE(h.wire().empty());
        EXPECT_EQ(litPads(h.main()), litPads(before));
        EXPECT_EQ(h.main().strPadMode, before.strPadMode);
        EXPECT_TRUE(h.messages().shown.empty());
    }
}

TEST(InputDispatch, SysExIgnoredWhileInitialising) {
    Harness h;
    h.load();
    allPadsPlay(h.main());
    h.main().bInitialising = true;
    h.report("45 43 64");
    h.report("47 00 7F");
    EXPECT_TRUE(h.wire().empty());
    h.host().raiseMidiInput(0x90, 81, 127); // short messages are handled throughout
    EXPECT_EQ(h.wire().size(), 4u);
}

TEST(InputDispatch, Feedback) {
    const struct {
        const char* name;
        int32_t status, data1, data2;
        int pad, bank;
        bool packet; // a packet is sent only for a feedback pad
        bool lit;
    } cases[] = {
        {"note 5 velocity 100", 0x90, 5, 100, 5, 0, true, true},
        {"velocity 63 switches on", 0x90, 5, 63, 5, 0, true, true},
        {"velocity 62 switches off", 0x90, 5, 62, 5, 0, true, false},
        {"note-off status", 0x80, 5, 100, 5, 0, true, false},
        {"note-off on channel 16", 0x8F, 5, 100, 5, 0, true, false},
        {"any status but note-off and control change", 0xA3, 5, 100, 5, 0, true, true},
        {"bank 1, pad 0", 0x90, 24, 100, 0, 1, true, true},
        {"bank 1, pad 15", 0x90, 39, 100, 15, 1, true, true},
        {"bank 2, pad 0", 0x90, 48, 100, 0, 2, true, true},
        {"bank 2, pad 15", 0x90, 63, 100, 15, 2, true, true},
        {"lower-case mode", 0x90, 7, 100, 7, 0, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        frmMain& w = h.main();
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            for (int pad : {0, 5, 15})
                setPad(w, pad, bank, "FDB", true);
        setPad(w, 7, 0, "Fdb");
        h.host().raiseMidiInput(c.status, c.data1, c.data2);
        EXPECT_EQ(w.bPadState[c.pad][c.bank], c.lit);
        // Bank 0 is shown: pads 0, 5 and 15 lit unless this feedback changed them.
        std::string shown = "21 00 02 00 00";
        if (c.bank == 0 && c.pad == 5 && !c.lit)
            shown = "01 00 02 00 00";
        if (c.bank == 0 && c.pad == 7)
            shown = "21 01 02 00 00";
        EXPECT_EQ(h.wire(), Wire{ledPacket(shown)});
    }
}

TEST(InputDispatch, NoFeedbackOutsideThePadNumbers) {
    const struct {
        int32_t status, data1, data2;
    } cases[] = {
        {0x90, 16, 100},    {0x90, 23, 100},    {0x90, 40, 100}, {0x90, 47, 100}, {0x90, 64, 100},
        {0x90, 20, 100},    {0xB0, 5, 100},     {0xBF, 0, 0},    {0xB0, 48, 0},   {0x90, -1, 100},
        {0xB0, INT_MAX, 0}, {0x90, INT_MIN, 0}, {0x90, 5, -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << ' ' << c.data1 << ' ' << c.data2);
        Harness h;
        h.load();
        for (auto& pad : h.main().strPadMode)
            pad.fill("FDB");
        h.main().bPadState[0][2] = true;
        h.host().raiseMidiInput(c.status, c.data1, c.data2);
        if (c.data1 == 5 && c.status == 0x90) {
            EXPECT_EQ(h.wire(), Wire{ledPacket("00 00 00 00 00")}); // a negative value is off
            continue;
        }
        EXPECT_TRUE(h.wire().empty());
        EXPECT_EQ(litPads(h.main()), (std::vector<std::pair<int, int>>{{0, 2}}));
    }
}

TEST(InputDispatch, FeedbackLeavesOtherModesAlone) {
    Harness h;
    h.load();
    setPad(h.main(), 5, 0, "TOGGLE", true);
    h.host().raiseMidiInput(0x90, 5, 0);
    EXPECT_TRUE(h.wire().empty());
    EXPECT_TRUE(h.main().bPadState[5][0]);
}

TEST(InputDispatch, FixedTrigger) {
    const Wire trigger = {"B0 58 7F", "B0 57 7F", "B0 56 7F", "B0 55 7F"};
    const struct {
        int32_t status, data1, data2;
        bool fires;
    } cases[] = {
        {0x90, 81, 101, true},  {0xB5, 81, 127, true},  {0x80, 81, 101, true},
        {0x90, 81, 100, false}, {0x90, 80, 127, false}, {0x90, 82, 127, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << ' ' << c.data1 << ' ' << c.data2);
        Harness h;
        h.load();
        h.main().intMidiChannel = 9; // the trigger is on channel 1 whatever the global channel
        h.host().raiseMidiInput(c.status, c.data1, c.data2);
        EXPECT_EQ(h.wire(), c.fires ? trigger : Wire{});
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

std::string padHit(int pad) {
    return "F0 42 40 6E 08 45 " + HexByte(0x40 + pad) + " 64 F7";
}
} // namespace

// Each pad note is answered by a pulse, during which the next pad report arrives. The ninth
// report would nest a ninth wait, so it and the two after it wait until the eighth pulse is over,
// and then run one after another, in arrival order.
TEST(InputDispatch, NestingStopsAtTheWaitBound) {
    static_assert(frmMain::kMaxWaitDepth == 8);
    MessageAnswers answers;
    auto owned = std::make_unique<AnsweringHost>();
    AnsweringHost& host = *owned;
    frmMain w([&owned]() -> std::unique_ptr<MidiHost> { return std::move(owned); });
    w.Form_Load();
    allPadsPlay(w);
    host.wire.clear();

    host.onMessage = [&](int32_t status, int32_t data1, int32_t data2) {
        if (status != 0x90 || data1 >= 16 || data2 == 0)
            return; // only pad note-ons are answered
        const int pad = data1;
        const int arrivals = pad < 7 ? 1 : pad == 7 ? 3 : 0;
        for (int next = pad + 1; next <= pad + arrivals; ++next)
            QTimer::singleShot(0, &w, [&host, next] { host.raiseSysEx(padHit(next)); });
        w.PulsedMidiOutPut(0, static_cast<int16_t>(100 + pad));
    };
    host.raiseSysEx(padHit(0));

    Wire expected;
    auto played = [&](int pad) {
        expected.push_back(ledOn(HexByte(0x40 + pad)));
        expected.push_back("90 " + HexByte(pad) + " 64");
        expected.push_back("90 " + HexByte(100 + pad) + " 7F");
    };
    auto ended = [&](int pad) { expected.push_back("90 " + HexByte(100 + pad) + " 00"); };
    for (int pad = 0; pad <= 7; ++pad)
        played(pad);
    ended(7);
    for (int pad = 8; pad <= 10; ++pad) {
        played(pad);
        ended(pad);
    }
    for (int pad = 6; pad >= 0; --pad)
        ended(pad);
    EXPECT_EQ(host.wire, expected);
    EXPECT_EQ(w.DeepestWaitDepth(), frmMain::kMaxWaitDepth);
    EXPECT_EQ(w.WaitDepth(), 0);
    EXPECT_TRUE(answers.shown.empty());
}
