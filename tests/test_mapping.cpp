// The player's mapping through the real engine and runner: report bytes in, the music
// software's bytes out.
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;
Bytes Hit(int pad, uint8_t velocity) {
    return Report(0x45, static_cast<uint8_t>(0x40 + pad), velocity);
}
Bytes Release(int pad) {
    return Report(0x45, static_cast<uint8_t>(pad), 0);
}
MappedMessage M(MessageKind kind, int number, int channel = MappedMessage::kGlobalChannel) {
    return {kind, static_cast<int8_t>(number), static_cast<int8_t>(channel)};
}

// Bank 1 from the kick on channel 10: pad 1 note 36, pad 2 note 38 at a fixed 100, pad 3 a
// toggling controller 20, pad 4 program 5; knob 1 controller 74.
struct Kit : Rig {
    Mapping mapping;
    ControllerSettings settings;
    Kit() {
        settings.intMidiChannel = 9;
        settings.strFlashMidiCC = settings.strKnobMode = "MIDI";
        runner.PostSettings(settings, std::nullopt);
        mapping.pads[0][0].message = M(MessageKind::Note, 36);
        mapping.pads[1][0] = {M(MessageKind::Note, 38), true, {.fixed = 100}};
        mapping.pads[2][0].message = M(MessageKind::Control, 20);
        mapping.pads[3][0].message = M(MessageKind::Program, 5);
        mapping.knobs[0] = M(MessageKind::Control, 74);
        runner.PostMapping(mapping);
        runner.PostPadMode(0, 2, "TOGGLE");
        idle();
    }
    // The notes whose last message was a note-on with a velocity: what still sounds.
    std::vector<std::string> unended() const {
        std::map<std::string, bool> on;
        for (const std::string& m : out.daw)
            if (m[0] == '9')
                on[m.substr(0, 5)] = m.substr(6) != "00";
        std::vector<std::string> sounding;
        for (const auto& [note, isOn] : on)
            if (isOn)
                sounding.push_back(note);
        return sounding;
    }
};
} // namespace

TEST(Mapping, EachControlSendsItsMappedMessageInItsMode) {
    const struct {
        std::vector<Bytes> reports;
        std::vector<std::string> sent;
    } cases[] = {
        {{Hit(0, 0x64), Release(0)}, {"99 24 64", "99 24 00"}},
        {{Hit(1, 0x32), Release(1)}, {"99 26 64", "99 26 00"}},
        {{Hit(2, 0x20), Release(2), Hit(2, 0x20)}, {"B9 14 7F", "B9 14 00"}},
        {{Hit(3, 0x40), Release(3)}, {"C9 05"}},
        {{Report(0x49, 0x00, 0x30)}, {"B9 4A 30"}},
        // Unmapped controls keep their built-in numbers.
        {{Hit(4, 0x64), Release(4)}, {"99 04 64", "99 04 00"}},
    };
    for (const auto& c : cases) {
        Kit kit;
        for (const Bytes& report : c.reports)
            kit.play(report);
        EXPECT_EQ(kit.out.daw, c.sent) << c.sent.front();
    }
}

TEST(Mapping, VelocityCurvesBoundsAndThreshold) {
    const struct {
        VelocityShape shape;
        std::vector<int> in, out;
    } cases[] = {
        {{}, {0, 1, 64, 127}, {1, 1, 64, 127}},
        {{VelocityCurve::Soft}, {1, 32, 64, 127}, {2, 56, 96, 127}},
        {{VelocityCurve::Hard}, {1, 32, 64, 127}, {1, 8, 32, 127}},
        {{VelocityCurve::Linear, 40, 100}, {1, 64, 127}, {40, 70, 100}},
        {{.threshold = 20}, {19, 20}, {-1, 20}},
        {{.threshold = 20, .fixed = 90}, {10, 30, 127}, {-1, 90, 90}},
    };
    for (const auto& c : cases)
        for (size_t i = 0; i < c.in.size(); ++i)
            EXPECT_EQ(ShapeVelocity(c.shape, c.in[i]), c.out[i]) << c.in[i];
}

// A hit below the threshold is not played, and its release is not either.
TEST(Mapping, AHitBelowTheThresholdAndItsReleaseAreIgnored) {
    Kit kit;
    kit.mapping.velocity.threshold = 30;
    kit.runner.PostMapping(kit.mapping);
    for (const Bytes& report : {Hit(0, 0x10), Release(0), Hit(0, 0x40), Release(0)})
        kit.play(report);
    EXPECT_EQ(kit.out.daw, (std::vector<std::string>{"99 24 40", "99 24 00"}));
}

// A held pad whose mapping changes ends with the note and channel it started with; a scene
// switch ends every note first, a pulse's too.
TEST(Mapping, ChangesWhileNotesSoundLeaveNothingSounding) {
    Kit kit;
    kit.play(Hit(0, 0x64));
    kit.play(Hit(4, 0x64));
    Mapping moved = kit.mapping;
    moved.pads[0][0].message = M(MessageKind::Note, 40, 1);
    kit.runner.PostMapping(moved);
    kit.idle();
    kit.play(Release(0));
    EXPECT_EQ(kit.out.daw, (std::vector<std::string>{"99 24 64", "99 04 64", "99 24 00"}));
    kit.play(Hit(0, 0x50));
    kit.play(Report(0x43, 0x00, 0x7F)); // a jog pulse in flight
    PadRecall scene;
    scene.settings = kit.settings;
    kit.runner.PostScene(Mapping{}, scene, "B");
    kit.idle(4);
    EXPECT_EQ(kit.out.daw[3], "91 28 50");
    EXPECT_EQ(kit.unended(), std::vector<std::string>{});
    kit.play(Release(0)); // the old pad's release plays the new scene's number
    kit.play(Hit(5, 0x64));
    EXPECT_EQ(kit.out.daw.back(), "99 05 64");
}

// A mapped feedback pad answers to its own note on its own channel only.
TEST(Mapping, FeedbackLightsAMappedPadOnItsOwnNumberAndChannel) {
    Kit kit;
    kit.mapping.pads[5][0].message = M(MessageKind::Note, 50, 2);
    kit.runner.PostMapping(kit.mapping);
    kit.runner.PostPadMode(0, 5, "FDB");
    const struct {
        Bytes message;
        bool lit;
    } steps[] = {{{0x90, 5, 0x7F}, false},
                 {{0x93, 50, 0x7F}, false},
                 {{0x92, 50, 0x7F}, true},
                 {{0x82, 50, 0x00}, false}};
    for (const auto& step : steps) {
        kit.play(step.message, EngineRunner::FromDaw);
        EXPECT_EQ(kit.runner.engine().bPadState[5][0], step.lit);
    }
}
