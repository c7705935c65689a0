#include "Kit.h"
#include "engine/HexText.h"

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
        h.run(h.main().mWire_SysExInput(message));
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
        {0x90, 7, 100, false, "0/0 5/0 7/0 15/0", "21 01 02 00 00"},
        {0x90, 24, 62, true, "5/1 15/1", "21 00 02 00 00"},
        {0x90, 39, 100, false, "0/1 5/1 15/1", "21 00 02 00 00"},
        {0x90, 48, 0, true, "5/2 15/2", "21 00 02 00 00"},
        {0x90, 63, 127, false, "0/2 5/2 15/2", "21 00 02 00 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << ' ' << c.data1 << ' ' << c.data2);
        Started h;
        ControllerEngine& w = h.main();
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

// Every pad "FDB" but pad 5 of bank 0, a lit "TOGGLE" pad; pad 0 of bank 2 lit. Only notes are
// feedback: aftertouch, a program, pressure or a pitch bend never light or darken a pad.
TEST(InputDispatch, NoFeedbackOutsideThePadNumbersOrTheFeedbackPads) {
    const int32_t cases[][3] = {
        {0x90, 16, 100},    {0x90, 23, 100},    {0x90, 40, 100}, {0x90, 47, 100}, {0x90, 64, 100},
        {0x90, 20, 100},    {0xB0, 5, 100},     {0xBF, 0, 0},    {0xB0, 48, 0},   {0x90, -1, 100},
        {0xB0, INT_MAX, 0}, {0x90, INT_MIN, 0}, {0x90, 5, 0},    {0xA0, 0, 100},  {0xC0, 0, 0},
        {0xD0, 0, 0},       {0xE0, 0, 100}};
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

// Jog-wheel steps arrive 1 ms apart, each a pulse of 4 ms with a note of its own: eight nest.
// The ninth, tenth and eleventh (knob reports) are held until the eighth pulse is over, and then
// run one after another, in arrival order; then the outer pulses end, innermost first.
TEST(InputDispatch, NestingStopsAtTheWaitBound) {
    static_assert(ControllerEngine::kMaxWaitDepth == 8);
    Started h;
    ControllerEngine& m = h.main();
    m.strJogWheelMode = m.strKnobMode = "MIDI";
    for (int step = 0; step < 8; ++step) {
        h.host().after(step, [&h, &m, step] {
            m.intJogWheelLeft = static_cast<int16_t>(100 + step);
            h.report("43 00 7F");
        });
    }
    const char* const held[] = {"49 00 7F", "49 01 00", "47 00 7F"}; // notes 22, 32, the pedal
    for (int k = 0; k < 3; ++k)
        h.host().after(8 + k, [&h, report = held[k]] { h.report(report); });
    h.settle();

    std::string expected;
    auto stepEnded = [&](int step) {
        expected += "90 " + HexByte(100 + step).str() + " 00, [00 00 00 00 00|2D 2D 58], ";
    };
    for (int step = 0; step < 8; ++step)
        expected += "90 " + HexByte(100 + step).str() + " 7F, ";
    stepEnded(7);
    expected += "90 16 7F, 90 16 00, 90 20 7F, 90 20 00, 90 40 7F, ";
    for (int step = 6; step >= 0; --step)
        stepEnded(step);
    EXPECT_EQ(h.wire(), W(expected));
    EXPECT_EQ(m.DeepestWaitDepth(), ControllerEngine::kMaxWaitDepth);
    EXPECT_EQ(m.WaitDepth(), 0);
    EXPECT_EQ(m.DroppedInput(), 0u);
}

// Held input is bounded in count, with room kept for releases: beyond the bound a press is
// dropped, whole, at once, while releases still wait their turn. Nothing is dropped for its age:
// a pad hit held behind eight one-second waits still plays when its turn comes.
TEST(InputDispatch, HeldInputIsBoundedInCountNotAge) {
    constexpr size_t kExtra = 10;
    constexpr size_t kPresses = ControllerEngine::kMaxHeldInput - HeldInput::kReleaseRoom;
    Started h;
    ControllerEngine& m = h.main();
    m.strKnobMode = "MIDI";
    for (int k = 0; k < ControllerEngine::kMaxWaitDepth; ++k)
        h.host().after(k, [&h, k] { h.report("49 00 " + HexByte(k + 1).str()); });
    h.host().after(ControllerEngine::kMaxWaitDepth, [&h] {
        for (size_t i = 0; i < kPresses + kExtra; ++i)
            h.report("47 00 7F"); // the pedal
        for (size_t i = 0; i < kExtra; ++i)
            h.report("47 00 00");
    });
    h.settle();
    const auto count = [&h](const char* message) {
        return static_cast<size_t>(std::count(h.host().wire.begin(), h.host().wire.end(), message));
    };
    EXPECT_EQ(count("90 40 7F"), kPresses);
    EXPECT_EQ(count("90 40 00"), kExtra);
    EXPECT_EQ(m.DroppedInput(), kExtra);
    EXPECT_EQ(h.host().Drops().inputHeld, kExtra);

    h.clear();
    m.strFlashMidiCC = "MIDI";
    for (int k = 0; k < ControllerEngine::kMaxWaitDepth; ++k)
        m.Run(m.SetDisplayForTime("ABC"));
    h.report("45 43 64");
    const Wire wire = h.wire();
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "90 03 64"), 1);
    EXPECT_EQ(m.DroppedInput(), kExtra);
    EXPECT_EQ(m.WaitDepth(), 0);
}

// Reports of a continuous control that wait together merge: a knob's into its latest value, the
// jog wheel's steps counted up to their bound; a press between them keeps its place.
TEST(InputDispatch, WaitingReportsOfAControlMerge) {
    Started h;
    ControllerEngine& m = h.main();
    m.strKnobMode = m.strJogWheelMode = m.strFlashMidiCC = "MIDI";
    m.intJogWheelLeft = 40;
    for (int k = 0; k < ControllerEngine::kMaxWaitDepth; ++k)
        m.Run(m.SetDisplayForTime("ABC"));
    h.host().after(1, [&h] {
        for (const char* report : {"49 00 10", "43 00 7F", "49 00 20", "43 00 7F", "43 00 7F",
                                   "43 00 7F", "43 00 7F", "49 00 08", "45 43 64", "49 00 30"})
            h.report(report);
    });
    h.host().cycle();
    h.host().cycle();
    EXPECT_EQ(m.HeldInputCount(), 4u); // knob 1 at 08, jog left x3, the pad, knob 1 at 30
    EXPECT_EQ(m.MergedInput(), 6u);    // two knob values, four jog steps (two past the bound)
    EXPECT_EQ(m.DroppedInput(), 0u);
    std::string expected = "90 15 7F, 90 15 00, "; // 08 from 00: rising
    for (int step = 0; step < 3; ++step)
        expected += "90 28 7F, 90 28 00, [00 00 00 00 00|2D 2D 58], ";
    expected += "f0 42 40 6e 08 01 43 20 f7, 90 03 64, 90 15 7F, 90 15 00";
    Wire wire = h.wire();
    wire.erase(
        std::remove_if(wire.begin(), wire.end(),
                       [](const std::string& w) { return w.starts_with("f0 42 40 6e 08 22"); }),
        wire.end());
    EXPECT_EQ(wire, W(expected));
}
