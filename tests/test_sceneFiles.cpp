// Scene files: the documented example through the real engine, a round trip, refusals that name
// the file, line and key, and the scenes folder on real files.
#include "FreshStore.h"
#include "settings/SceneFolder.h"
#include "settings/SettingKeys.h"
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {
const char* kKitA = R"(# Kit A: bank 1 starts at the General MIDI kick, on channel 10
name = "Kit A"
channel = 10

[bank1]
pad1 = { note = 36 }                       # hit with velocity 100 -> 99 24 64
pad2 = { note = 38, velocity = "fixed 100" }
pad3 = { cc = 20, mode = "TOGGLE" }
pad4 = { program = 5 }

[knobs]
knob1 = { cc = 74 }
)";

ControllerSettings notes() {
    ControllerSettings s;
    for (const ConfigKey& key : kConfig)
        if (key.sends)
            s.*key.sends = "MIDI";
    return s;
}

Scene parsed(const std::string& text) {
    auto result = ParseScene(text, "kit.toml", notes());
    if (const auto* why = std::get_if<std::string>(&result))
        ADD_FAILURE() << *why;
    return std::get_if<Scene>(&result) ? std::get<Scene>(result) : Scene{};
}

std::vector<uint8_t> hit(int pad, uint8_t velocity) {
    return Report(0x45, static_cast<uint8_t>(0x40 + pad), velocity);
}
} // namespace

TEST(SceneFiles, TheExamplePlaysAsItsCommentsSay) {
    const Scene kit = parsed(kKitA);
    EXPECT_EQ(kit.name, "Kit A");
    Rig rig;
    rig.runner.PostScene(kit.mapping, kit.pads, kit.name);
    for (const auto& report :
         {hit(0, 100), hit(1, 50), hit(2, 9), hit(3, 9), Report(0x49, 0x00, 0x30)})
        rig.play(report);
    EXPECT_EQ(rig.out.daw,
              (std::vector<std::string>{"99 24 64", "99 26 64", "B9 14 7F", "C9 05", "B9 4A 30"}));
}

TEST(SceneFiles, WhatIsWrittenReadsBackTheSame) {
    Scene scene = parsed(kKitA);
    scene.mapping.velocity = {VelocityCurve::Hard, 10, 120, 4, 0};
    scene.mapping.pads[15][2] = {{MessageKind::Control, 99, 15}, true, {.threshold = 9}};
    scene.mapping.jogWheel[1] = {MessageKind::Note, 50, 3};
    scene.mapping.pedal = {MessageKind::Control, 64, MappedMessage::kGlobalChannel};
    scene.pads.padMode[7][1] = ModeText("CN2");
    scene.pads.padState[7][1] = true;
    scene.pads.settings.strKnobMode = "CC";
    scene.pads.settings.intSceneChannel = 15;
    scene.name = "Kit \"B\" ✓";
    const Scene back = parsed(SceneText(scene));
    EXPECT_EQ(back.name, scene.name);
    EXPECT_EQ(back.mapping, scene.mapping);
    EXPECT_EQ(back.pads.padMode, scene.pads.padMode);
    EXPECT_EQ(back.pads.padState, scene.pads.padState);
    for (const ConfigKey& key : kConfig)
        EXPECT_EQ(SettingTextOf(key, back.pads.settings), SettingTextOf(key, scene.pads.settings))
            << key.name;
}

TEST(SceneFiles, AnUnusableFileIsRefusedWholeNamingFileLineAndKey) {
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"[bank1]\npad17 = { note = 1 }", "kit.toml:2: bank1.pad17: is no pad"},
        {"[bank2]\npad1 = { note = 128 }", "kit.toml:2: bank2.pad1.note: must be a whole number"},
        {"\n\n[bank1]\npad1 = { cc = 1, channel = 17 }", "kit.toml:4: bank1.pad1.channel:"},
        {"[knobs]\nknob1 = { note = 5 }", "kit.toml:2: knobs.knob1.note: this control cannot"},
        {"[bank1]\npad1 = { note = 1, cc = 2 }",
         "kit.toml:2: bank1.pad1.note: a control sends one"},
        {"[bank1]\npad1 = { mode = \"CN9\" }", "kit.toml:2: bank1.pad1.mode: is no pad mode"},
        {"[bank1]\npad1 = { note = 1, velocity = \"fixed 0\" }",
         "kit.toml:2: bank1.pad1.velocity: \"fixed N\""},
        {"[config]\nKnobSends = \"loud\"", "kit.toml:2: config.KnobSends: \"loud\" is no value"},
        {"[drums]\nx = 1", "kit.toml:1: drums: is not known in a scene"},
        {"name = \"unclosed", "kit.toml:1: "},
    };
    for (const auto& c : cases) {
        const auto result = ParseScene(c.text, "kit.toml", notes());
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.text;
        EXPECT_EQ(std::get<std::string>(result).rfind(c.why, 0), 0u)
            << std::get<std::string>(result);
    }
}

TEST(SceneFiles, TheFolderSavesListsRenamesAndDeletes) {
    FreshStore store;
    Scene scene = parsed(kKitA);
    EXPECT_EQ(SaveScene(scene), "");
    scene.name = "Basics";
    EXPECT_EQ(SaveScene(scene), "");
    EXPECT_EQ(ListScenes(), (std::vector<std::string>{"Basics", "Kit A"}));
    scene.name = "../up";
    EXPECT_NE(SaveScene(scene), "");
    EXPECT_NE(RenameScene("Kit A", "Basics", notes()), "");
    EXPECT_EQ(RenameScene("Kit A", "Kit B", notes()), "");
    EXPECT_EQ(std::get<Scene>(ReadSceneFile(ScenePath("Kit B"), notes())).name, "Kit B");
    EXPECT_EQ(DeleteScene("Basics"), "");
    EXPECT_EQ(ListScenes(), std::vector<std::string>{"Kit B"});

    // Only a regular file under 1 MB is read.
    const std::string fifo = store.folder() + "/pipe.toml";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string large = store.folder() + "/large.toml";
    std::ofstream(large) << "# " << std::string(kMaxSceneFileBytes, 'x') << "\n";
    for (const std::string& path : {fifo, large, store.folder()})
        EXPECT_TRUE(std::holds_alternative<std::string>(ReadSceneFile(path, notes()))) << path;
}
