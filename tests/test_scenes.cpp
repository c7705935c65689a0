// Scenes in the window: loading, refusing, resuming at the next start, switching by a program
// change, and saving, exporting and importing, on real files.
#include "FreshStore.h"
#include "Kit.h"
#include "settings/SceneFolder.h"
#include "settings/SettingKeys.h"
#include "ui/StatusArea.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <fstream>

namespace {
const char* kKitA = "name = \"Kit A\"\nchannel = 10\n[bank1]\npad1 = { note = 36 }\n"
                    "pad3 = { cc = 20, mode = \"TOGGLE\" }\n[config]\nSceneChannel = 16\n";

std::string written(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
    return path;
}
} // namespace

TEST(Scenes, ALoadedSceneEndsNotesPlaysAndIsKeptToRecall) {
    FreshStore store;
    Harness h;
    h.loadNative();
    WriteSetting(key::AutoRecall, "0");
    Reports(h, "45 40 64"); // pad 1 held with its built-in note
    h.clear();
    const std::string file = written(store.folder() + "/kit.toml", kKitA);
    EXPECT_EQ(h.window().LoadScene(file), "");
    h.settle();
    Reports(h, "45 00 00, 45 40 64, 45 42 10");
    const Wire wire = h.wire();
    EXPECT_EQ(wire.front(), "90 00 00");
    EXPECT_EQ(std::vector<std::string>(wire.end() - 3, wire.end()), W("99 24 64, +42, B9 14 7F"));
    EXPECT_EQ(h.window().windowTitle().toStdString(), "Orvan \u2014 Kit A");
    EXPECT_EQ(h.window().statusArea->scenePicker->currentText().toStdString(), "Kit A (file)");
    EXPECT_EQ(ReadSettings({"AutoRecall", "PadMode_1_03", "LastScene", "SceneChannel"}),
              "AutoRecall=1, PadMode_1_03=TOGGLE, LastScene=" + file + ", SceneChannel=16");

    // A refused file changes nothing.
    const std::string bad = written(store.folder() + "/bad.toml", "[bank1]\npad1 = { note = 300 }");
    EXPECT_EQ(h.window().LoadScene(bad).rfind(bad + ":2: bank1.pad1.note:", 0), 0u);
    EXPECT_EQ(h.window().SceneName(), "Kit A");
    EXPECT_EQ(h.window().CurrentMapping().pads[0][0].message.number, 36);
}

TEST(Scenes, TheNextStartPlaysTheLastSceneAndAProgramChangeSwitches) {
    FreshStore store;
    {
        Started h;
        EXPECT_EQ(h.window().ImportScene(written(store.folder() + "/a.toml", kKitA)), "");
        EXPECT_EQ(h.window().SaveSceneAs("Basics"), "");
    }
    Started h;
    EXPECT_EQ(h.window().SceneName(), "Basics");
    EXPECT_EQ(h.window().CurrentMapping().pads[2][0].message.number, 20);
    EXPECT_EQ(h.window().statusArea->scenePicker->currentText().toStdString(), "Basics");
    h.host().raiseMidiInput(0xCF, 1, 0); // the second saved scene, on the scene channel
    h.settle();
    h.window().RefreshFromHost();
    EXPECT_EQ(h.window().SceneName(), "Kit A");

    const std::string exported = store.folder() + "/out.toml";
    EXPECT_EQ(h.window().ExportScene(exported), "");
    EXPECT_EQ(h.window().RenameActiveScene("Kit B"), "");
    EXPECT_EQ(h.window().DeleteSavedScene("Basics"), "");
    EXPECT_EQ(ListScenes(), std::vector<std::string>{"Kit B"});
    EXPECT_EQ(std::get<Scene>(ReadSceneFile(exported, {})).mapping, h.window().CurrentMapping());
}
