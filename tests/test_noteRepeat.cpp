// Note repeat through the real runner on the frame clock: steps, gates and endings to the frame.
#include "settings/SettingKeys.h"
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {
const std::vector<uint8_t> kPedalDown = Report(0x47, 0x00, 0x7F);
const std::vector<uint8_t> kPedalUp = Report(0x47, 0x00, 0x00);
const std::vector<uint8_t> kPad1Hit = Report(0x45, 0x41, 0x64);
const std::vector<uint8_t> kPad1Up = Report(0x45, 0x01, 0x00);

ControllerSettings repeatSettings(const char* rate, const char* swing = "0",
                                  const char* gate = "50", const char* control = "Pedal") {
    ControllerSettings s;
    s.strFlashMidiCC = s.strKnobMode = s.strBankSelectMidiCC = "MIDI";
    for (auto [name, text] : {std::pair{"NoteRepeatControl", control},
                              {"NoteRepeatRate", rate},
                              {"NoteRepeatSwing", swing},
                              {"NoteRepeatGate", gate},
                              {"OwnTempo", "120"}})
        EXPECT_TRUE(ApplySettingText(*FindConfigKey(name), text, s)) << name;
    return s;
}

// Plays cycles up to end, with input at frames, something done at the start of chosen cycles,
// and the transport's position for each cycle when given; the notes sent, as "frame: bytes".
struct Session {
    Rig rig;
    std::map<Frame, std::vector<uint8_t>> input;
    std::map<Frame, std::function<void()>> atCycle;
    std::function<std::optional<TransportPosition>(Frame)> transport;

    Frame at = 0;

    // Goes on from where the last run stopped; every note sent so far.
    std::vector<std::string> run(Frame end) {
        for (; at < end; at += kCycle) {
            const Frame start = at;
            if (auto it = atCycle.find(start); it != atCycle.end())
                it->second();
            if (transport)
                if (const auto p = transport(start))
                    rig.runner.Transport(*p);
            rig.out.start = start;
            rig.runner.BeginCycle(start, kCycle, rig.out);
            for (auto it = input.lower_bound(start);
                 it != input.end() && it->first < start + kCycle; ++it)
                rig.runner.Input(EngineRunner::FromController, it->first, it->second.data(),
                                 it->second.size());
            rig.runner.EndCycle();
        }
        std::vector<std::string> notes;
        for (const std::string& line : rig.out.lines)
            if (line.find(": 9") != std::string::npos)
                notes.push_back(line);
        return notes;
    }
    bool silent() {
        const EngineSnapshot* s = rig.runner.TakeSnapshot();
        for (const auto& channel : s->state.soundingNotes)
            if (channel[0] || channel[1])
                return false;
        return true;
    }
};

// Note-on and note-off lines of pad 1 (note 1, channel 1) at the frames given.
std::vector<std::string> notesAt(const std::vector<std::pair<Frame, Frame>>& onOff,
                                 const char* velocity = "64") {
    std::vector<std::string> lines;
    for (auto [on, off] : onOff) {
        lines.push_back(std::to_string(on) + ": 90 01 " + velocity);
        lines.push_back(std::to_string(off) + ": 90 01 00");
    }
    return lines;
}
} // namespace

// Held from frame 200 to 24000 on the own tempo of 120 BPM at 48 kHz.
TEST(NoteRepeat, OwnTempoStepsAndGates) {
    struct Case {
        const char* rate;
        const char* swing;
        const char* gate;
        std::vector<std::pair<Frame, Frame>> notes;
    };
    const Case cases[] = {
        {"1/16", "0", "50", {{200, 3200}, {6200, 9200}, {12200, 15200}, {18200, 21200}}},
        {"1/16T",
         "0",
         "25",
         {{200, 1200}, {4200, 5200}, {8200, 9200}, {12200, 13200}, {16200, 17200}, {20200, 21200}}},
        // Every second step late by half of half a step; gates are shares of what follows.
        {"1/16", "50", "50", {{200, 3950}, {7700, 9950}, {12200, 15950}, {19700, 21950}}},
        {"1/8", "0", "100", {{200, 12199}, {12200, 24000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        Session s;
        s.rig.runner.PostSettings(repeatSettings(c.rate, c.swing, c.gate), std::nullopt);
        s.input = {{100, kPedalDown}, {200, kPad1Hit}, {24000, kPad1Up}, {24100, kPedalUp}};
        EXPECT_EQ(s.run(30000), notesAt(c.notes));
        EXPECT_TRUE(s.silent());
    }
}

// The transport rolls from engine frame 1000 (bar 1, beat 1): steps fall on its grid, a hit plays
// at once; the master's tempo falls to 60 BPM at frame 12800 and the next step follows it.
TEST(NoteRepeat, MasterGridAndTempoChange) {
    Session s;
    s.rig.runner.PostSettings(repeatSettings("1/16"), std::nullopt);
    s.input = {{100, kPedalDown}, {2000, kPad1Hit}, {40000, kPad1Up}};
    s.transport = [](Frame start) -> std::optional<TransportPosition> {
        if (start < 1024)
            return std::nullopt;
        // Beats since frame 1000: 24000 frames a beat, then 48000 from frame 12800.
        const double beats =
            start < 12800 ? (start - 1000) / 24000.0 : 11800 / 24000.0 + (start - 12800) / 48000.0;
        TransportPosition p;
        p.rolling = true;
        p.beatsPerMinute = start < 12800 ? 120 : 60;
        p.bar = 1 + static_cast<int32_t>(beats / 4);
        p.beat = 1 + static_cast<int32_t>(beats) % 4;
        p.tick = (beats - static_cast<int32_t>(beats)) * p.ticksPerBeat;
        p.frame = start;
        return p;
    };
    // Steps at beats 0.25, 0.5 (frames 7000, 13000 at 120 BPM); from frame 12800 at 60 BPM,
    // beat 0.5 is at 12800 + (0.5 - 0.491667) * 48000 = 13200, and every 12000 frames on.
    EXPECT_EQ(
        s.run(41000),
        notesAt({{2000, 4500}, {7000, 10000}, {13200, 19200}, {25200, 31200}, {37200, 40000}}));
}

// A master that gives whole ticks (15 frames each at 100 BPM) puts each position up to a tick
// early; the steps still fall on its exact grid: tick 85,296 (beat 44.425) at frame 0, so 1/16
// steps at 2160 and every 7,200 frames on.
TEST(NoteRepeat, WholeTicksStillGiveTheExactGrid) {
    Session s;
    s.rig.runner.PostSettings(repeatSettings("1/16"), std::nullopt);
    s.input = {{100, kPedalDown}, {2000, kPad1Hit}, {40000, kPad1Up}};
    s.transport = [](Frame start) -> std::optional<TransportPosition> {
        const auto ticks = static_cast<int32_t>(85296 + start / 15);
        TransportPosition p;
        p.rolling = true;
        p.beatsPerMinute = 100;
        p.bar = 1 + ticks / 1920 / 4;
        p.beat = 1 + ticks / 1920 % 4;
        p.tick = ticks % 1920;
        p.frame = start;
        return p;
    };
    EXPECT_EQ(s.run(41000), notesAt({{2000, 2080},
                                     {2160, 5760},
                                     {9360, 12960},
                                     {16560, 20160},
                                     {23760, 27360},
                                     {30960, 34560},
                                     {38160, 40000}}));
}

// The jog wheel turns 1/16 into 1/16T at frame 13,000 while the transport rolls from beat 0 at
// frame 0: the step of 12,000 lies on both grids and is not played again; then every 4,000.
TEST(NoteRepeat, ARateChangeKeepsTheMastersGrid) {
    Session s;
    s.rig.runner.PostSettings(repeatSettings("1/16"), std::nullopt);
    s.input = {
        {50, kPedalDown}, {100, kPad1Hit}, {13000, Report(0x43, 0x00, 0x01)}, {21000, kPad1Up}};
    s.transport = [](Frame start) -> std::optional<TransportPosition> {
        TransportPosition p;
        p.rolling = true;
        p.beat = 1 + static_cast<int32_t>(start / 24000);
        p.tick = static_cast<double>(start % 24000) / 24000 * p.ticksPerBeat;
        p.frame = start;
        return p;
    };
    EXPECT_EQ(s.run(22000),
              notesAt({{100, 3050}, {6000, 9000}, {12000, 15000}, {16000, 18000}, {20000, 21000}}));
}

// Every way a repeat ends leaves nothing sounding and plays nothing more.
TEST(NoteRepeat, EndingsLeaveNothingSounding) {
    struct Case {
        const char* name;
        std::function<void(Session&)> end; // at frame 8192, mid-gate of the second note
        bool stillHeld;
    };
    const Case cases[] = {
        {"release", [](Session& s) { s.input[8192] = kPad1Up; }, false},
        {"quit", [](Session& s) { s.atCycle[8192] = [&s] { s.rig.runner.PostEnd(); }; }, true},
        {"scene",
         [](Session& s) {
             s.atCycle[8192] = [&s] {
                 PadRecall pads;
                 pads.settings = repeatSettings("1/16");
                 s.rig.runner.PostScene({}, pads, "B");
             };
         },
         true},
        {"server lost",
         [](Session& s) {
             s.atCycle[8192] = [&s] { s.rig.runner.HoldUntilLinked(); };
             s.atCycle[8320] = [&s] { s.rig.runner.Linked(); };
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.rig.runner.PostSettings(repeatSettings("1/16"), std::nullopt);
        s.input = {{100, kPedalDown}, {200, kPad1Hit}};
        c.end(s);
        const std::vector<std::string> notes = s.run(20000);
        ASSERT_GE(notes.size(), 4u);
        EXPECT_EQ(std::vector(notes.begin(), notes.begin() + 3),
                  (std::vector<std::string>{"200: 90 01 64", "3200: 90 01 00", "6200: 90 01 64"}));
        EXPECT_EQ(notes.size(), 4u) << notes.back();
        EXPECT_TRUE(notes.back().ends_with(": 90 01 00"));
        EXPECT_TRUE(s.silent());
        if (c.stillHeld) // the release of a pad whose repeat ended sends nothing more
            s.input = {{20100, kPad1Up}};
        EXPECT_EQ(s.run(20300).size(), 4u);
    }
}

// Without the setting the pedal plays its note as it always did and a held pad plays once.
TEST(NoteRepeat, OffLeavesThePedalAsItWas) {
    Session s;
    s.rig.runner.PostSettings(repeatSettings("1/16", "0", "50", "Off"), std::nullopt);
    s.input = {{100, kPedalDown}, {200, kPad1Hit}, {48200, kPad1Up}, {48300, kPedalUp}};
    EXPECT_EQ(s.run(50000), (std::vector<std::string>{"100: 90 40 7F", "200: 90 01 64",
                                                      "48200: 90 01 00", "48300: 90 40 00"}));
}

// A held note button holds repeat on and sends nothing; the jog wheel then chooses the rate (1/16
// one step faster: 1/16T, 4,000 frames a step) and the display shows it; the pedal taps the own
// tempo, 32,000 frames apart: 90 BPM, and shows it.
TEST(NoteRepeat, NoteButtonJogWheelAndTaps) {
    const std::vector<uint8_t> button1Down = Report(0x48, 0x03, 0x7F);
    const std::vector<uint8_t> button1Up = Report(0x48, 0x03, 0x00);
    const std::vector<uint8_t> jogRight = Report(0x43, 0x00, 0x01);
    struct Case {
        const char* name;
        std::map<Frame, std::vector<uint8_t>> input; // before the pad's hit at 100,000
        const char* shown;                           // the display's bytes, last character first
        std::vector<std::pair<Frame, Frame>> notes;
        int16_t rate, tempo;
    };
    const Case cases[] = {
        {"jog wheel",
         {{99000, button1Down}, {99500, jogRight}},
         "54 36 31",
         {{100000, 102000}, {104000, 106000}, {108000, 109000}},
         24,
         12000},
        {"taps",
         {{1000, kPedalDown},
          {1100, kPedalUp},
          {33000, kPedalDown},
          {65000, kPedalDown},
          {99000, button1Down}},
         "30 39 20",
         {{100000, 104000}, {108000, 109000}},
         16,
         9000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        ControllerSettings settings = repeatSettings("1/16", "0", "50", "Note button 1");
        ApplySettingText(*FindConfigKey("TapTempoControl"), "Pedal", settings);
        s.rig.runner.PostSettings(settings, std::nullopt);
        s.input = c.input;
        s.input.insert(
            {{100000, Report(0x45, 0x41, 0x64)}, {109000, kPad1Up}, {109100, button1Up}});
        std::vector<std::string> expected;
        for (auto [on, off] : c.notes)
            for (const char* velocity : {"64", "00"})
                expected.push_back(std::to_string(velocity[0] == '6' ? on : off) + ": 90 01 " +
                                   velocity);
        EXPECT_EQ(s.run(110000), expected); // nothing from the button, the jog wheel or the pedal
        EXPECT_TRUE(s.silent());
        s.run(110100); // one more snapshot
        const ControllerState& state = s.rig.runner.TakeSnapshot()->state;
        EXPECT_EQ(state.intRepeatRate, c.rate);
        EXPECT_EQ(state.intOwnTempo, c.tempo);
        EXPECT_TRUE(std::any_of(
            s.rig.out.lines.begin(), s.rig.out.lines.end(),
            [&](const std::string& line) { return line.ends_with(std::string(c.shown) + " F7"); }));
    }
}

TEST(NoteRepeat, SettingTexts) {
    struct Case {
        const char* key;
        const char* text;
        const char* stored; // nullptr: refused
    };
    const Case cases[] = {
        {"NoteRepeatRate", "1/16T", "1/16T"},
        {"NoteRepeatRate", "1/32", "1/32"},
        {"NoteRepeatRate", "1/3", nullptr},
        {"NoteRepeatSwing", "57.5", "57.5"},
        {"NoteRepeatGate", "101", nullptr},
        {"OwnTempo", "92.25", "92.25"},
        {"OwnTempo", "500", nullptr},
        {"NoteRepeatControl", "pedal", "Pedal"},
        {"NoteRepeatControl", "Knob", nullptr},
        {"TapTempoControl", "note button 6", "Note button 6"},
        {"TapTempoControl", "Note button 7", nullptr},
    };
    for (const Case& c : cases) {
        ControllerSettings s;
        const ConfigKey& key = *FindConfigKey(c.key);
        EXPECT_EQ(ApplySettingText(key, c.text, s), c.stored != nullptr) << c.key << c.text;
        if (c.stored) {
            EXPECT_EQ(SettingTextOf(key, s), c.stored);
        }
    }
}
