// The engine's cycle runner on a timeline of its own: where in the cycle each answer lands, what
// a late cycle does to a pulse, and when the window's commands apply.
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::vector<uint8_t> kPad3Hit = {0xF0, 0x42, 0x40, 0x6E, 0x08, 0x45, 0x43, 0x64, 0xF7};
const std::vector<uint8_t> kKnobUp = {0xF0, 0x42, 0x40, 0x6E, 0x08, 0x49, 0x00, 0x40, 0xF7};
} // namespace

// An answer lands at its input's frame; a 4 ms pulse's note-off 192 frames later, two cycles on.
TEST(EngineRunner, AnswersAtTheInputsFrameAndPulsesToTheFrame) {
    Rig rig;
    rig.cycle(0, {{37, kPad3Hit}, {90, kKnobUp}});
    rig.cycle(kCycle);
    rig.cycle(2 * kCycle);
    EXPECT_EQ(rig.out.lines,
              (std::vector<std::string>{"37: F0 42 40 6E 08 01 43 20 F7", "37: 90 03 64",
                                        "90: 90 15 7F", "282: 90 15 00"}));
}

// Cycles that never ran (frames 128 to 639): the note-off due at 282 goes out at the start of
// the next cycle that runs, later, never earlier.
TEST(EngineRunner, ALateCycleEndsThePulseAtItsStart) {
    Rig rig;
    rig.cycle(0, {{90, kKnobUp}});
    rig.cycle(5 * kCycle);
    EXPECT_EQ(rig.out.lines, (std::vector<std::string>{"90: 90 15 7F", "640: 90 15 00"}));
}

// Commands apply at the start of the next cycle, in order. The ending ends the pulse, then the
// note of the pad still held, on the channel it sounds on; after that nothing is handled.
TEST(EngineRunner, CommandsApplyAtTheNextCycleAndTheEndingEndsEverySoundingNote) {
    Rig rig;
    rig.cycle(0, {{50, kPad3Hit}, {100, kKnobUp}});
    ControllerSettings channel2;
    channel2.strKnobMode = "MIDI";
    channel2.intMidiChannel = 1;
    rig.runner.PostSettings(channel2, std::nullopt);
    rig.runner.PostEnd();
    EXPECT_EQ(rig.out.lines.size(), 3u);
    rig.cycle(kCycle, {{5, kPad3Hit}});
    rig.cycle(2 * kCycle);
    EXPECT_EQ(rig.out.lines, (std::vector<std::string>{
                                 "50: F0 42 40 6E 08 01 43 20 F7", "50: 90 03 64", "100: 90 15 7F",
                                 "128: 91 15 00", "128: 90 03 00", "128: 90 15 00"}));
    const EngineSnapshot* snapshot = rig.runner.TakeSnapshot();
    ASSERT_NE(snapshot, nullptr);
    EXPECT_TRUE(snapshot->ended);
    EXPECT_EQ(snapshot->waitDepth, 0);
}

// The window's input takes the controller's path at the start of the next cycle; the monitor
// sees it come in and the answers go out, with their frames.
TEST(EngineRunner, WindowInputIsHandledAndEveryMessageMonitored) {
    Rig rig;
    rig.runner.PostInput(kPad3Hit.data(), kPad3Hit.size());
    rig.cycle(kCycle);
    EXPECT_EQ(rig.out.lines,
              (std::vector<std::string>{"128: F0 42 40 6E 08 01 43 20 F7", "128: 90 03 64"}));
    std::string seen;
    for (const MonitoredMessage& m : rig.runner.TakeMonitored())
        seen += std::to_string(m.header.frame) + (m.header.sent ? " out " : " in ") +
                std::to_string(m.header.port) + " " + std::to_string(m.header.size) + "; ";
    EXPECT_EQ(seen, "128 in 2 9; 128 out 0 9; 128 out 1 3; ");
    EXPECT_TRUE(rig.runner.TakeMonitored().empty());
}

// A knob turned as fast as the controller reports (375 a second, each report a pulse) while a
// pad is hit and released every 100 ms: every hit is answered within 20 ms and ended, and the
// knob's last pulse starts soon after the flood instead of trailing it.
TEST(EngineRunner, APadIsAnsweredPromptlyThroughAKnobFlood) {
    constexpr Frame kFlood = 3 * 48000, kPadEvery = 4800, kPrompt = 960; // 3 s, 100 ms, 20 ms
    Rig rig;
    std::vector<Frame> hits;
    for (Frame start = 0; start < kFlood + 48000; start += kCycle) {
        std::vector<std::pair<uint32_t, std::vector<uint8_t>>> input;
        if (start < kFlood) {
            std::vector<uint8_t> knob = kKnobUp;
            knob[7] = static_cast<uint8_t>(start / kCycle % 128);
            input.push_back({0, knob});
            if (start % kPadEvery == 0) {
                input.push_back({1, kPad3Hit});
                hits.push_back(start + 1);
            } else if (start % kPadEvery == 2560) {
                input.push_back({1, {0xF0, 0x42, 0x40, 0x6E, 0x08, 0x45, 0x03, 0x00, 0xF7}});
            }
        }
        rig.cycle(start, input);
    }
    std::vector<Frame> ons;
    size_t offs = 0, knobOns = 0, knobOffs = 0;
    Frame lastKnobOn = 0;
    for (const std::string& line : rig.out.lines) {
        const Frame frame = std::stoull(line);
        const std::string bytes = line.substr(line.find(':') + 2);
        if (bytes == "90 03 64")
            ons.push_back(frame);
        offs += bytes == "90 03 00";
        if (bytes.starts_with("90 1") && bytes.size() == 8) { // notes 19..22: knob 1's pulses
            (bytes.ends_with("7F") ? knobOns : knobOffs) += 1;
            if (bytes.ends_with("7F"))
                lastKnobOn = frame;
        }
    }
    ASSERT_EQ(ons.size(), hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        EXPECT_LE(ons[i] - hits[i], kPrompt) << "hit " << i;
    EXPECT_EQ(offs, hits.size());
    EXPECT_EQ(knobOns, knobOffs);
    EXPECT_LE(lastKnobOn, kFlood + kPrompt);
    EXPECT_GT(rig.runner.Drops().inputMerged, 0u);
    EXPECT_EQ(rig.runner.Drops().inputHeld, 0u);
}
