#include "FreshStore.h"
#include "Kit.h"
#include "ui/PortPicker.h"
#include "ui/StatusArea.h"

#include <QCheckBox>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <utility>

TEST(SettingsRestore, FirstRunWritesTheDefaults) {
    FreshStore store;
    Started h;
    const ControllerEngine& m = h.main();
    std::string modes;
    for (const std::string& name : kModeSettings) {
        modes += ", " + name;
        EXPECT_EQ(ReadSetting(name), "MIDI") << name;
        EXPECT_EQ(Variable(m, name), "MIDI") << name;
    }
    EXPECT_EQ(store.names(), "AutoRecall, AssignToggled, FixedVelocity" + modes +
                                 ", GlobalChannel, JogWheelLeft, JogWheelRight");
    EXPECT_EQ(
        ReadSettings(
            {"AssignToggled", "FixedVelocity", "GlobalChannel", "JogWheelLeft", "JogWheelRight"}),
        "AssignToggled=0, FixedVelocity=0, GlobalChannel=1, JogWheelLeft=40, JogWheelRight=41");
    EXPECT_EQ(Variables(m, {"AssignToggled", "FixedVelocity", "GlobalChannel", "JogWheelLeft",
                            "JogWheelRight", "XYPadTap", "FdbPadsAlwaysActive"}),
              "AssignToggled=0, FixedVelocity=0, GlobalChannel=0, JogWheelLeft=40, "
              "JogWheelRight=41, XYPadTap=0, FdbPadsAlwaysActive=0");
    EXPECT_EQ(m.tmrTap.interval(), 100);
}

TEST(SettingsRestore, AppliesOrReplacesTheStoredText) {
    const struct {
        const char* name;
        const char* stored;
        const char* storedAfter; // what the store holds after start-up
        const char* variable;
    } cases[] = {{"GlobalChannel", "0", "1", "0"},
                 {"GlobalChannel", "17", "1", "0"},
                 {"GlobalChannel", "16", "16", "15"},
                 {"GlobalChannel", " 7", " 7", "6"},
                 {"GlobalChannel", "2.5", "2.5", "1"},
                 {"GlobalChannel", "seven", "1", "0"},
                 {"GlobalChannel", "99999", "1", "0"},
                 {"JogWheelLeft", "0", "0", "0"},
                 {"JogWheelLeft", "-7", "-7", "-7"},
                 {"JogWheelLeft", "300", "300", "300"},
                 {"JogWheelLeft", "left", "40", "40"},
                 {"JogWheelLeft", "40000", "40", "40"},
                 {"JogWheelRight", "0", "0", "0"},
                 {"JogWheelRight", "x", "41", "41"},
                 {"KnobSends", "midi", "midi", "MIDI"},
                 {"KnobSends", "Midi", "Midi", "MIDI"},
                 {"KnobSends", "cc", "cc", "CC"},
                 {"KnobSends", "Notes", "MIDI", "MIDI"},
                 {"AssignToggled", "true", "0", "0"},
                 {"AssignToggled", "1", "1", "1"},
                 {"FixedVelocity", "-1", "0", "0"},
                 {"FixedVelocity", "1", "1", "1"},
                 {"XYPadTap", "1", "1", "1"},
                 {"XYPadTap", "yes", "yes", "0"},
                 {"FdbPadsAlwaysActive", "1", "1", "1"},
                 {"FdbPadsAlwaysActive", "true", "true", "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " \"" + c.stored + "\"");
        FreshStore store;
        WriteSetting(c.name, c.stored);
        Started h;
        EXPECT_EQ(ReadSetting(c.name), c.storedAfter);
        EXPECT_EQ(Variable(h.main(), c.name), c.variable);
    }
    FreshStore store;
    WriteSetting("JOGWHEELRIGHT", "12"); // found under any case, and kept under it
    Started h;
    EXPECT_EQ(h.main().intJogWheelRight, 12);
    EXPECT_EQ(store.names().substr(0, 15), "JOGWHEELRIGHT, ");
}

TEST(SettingsSave, WritesEveryPadInOrderThenTheKnobsWhenToggled) {
    FreshStore store;
    Started h;
    ControllerEngine& m = h.main();
    SetPad(m, 0, 0, "TOGGLE", true);
    SetPad(m, 15, 2, "FDB", true);
    m.bAssignToggled = m.bKnob1State = true;
    const std::string before = store.names();
    h.settle();
    h.window().SaveSettings();
    std::string names = before;
    for (int bank = 1; bank <= 3; ++bank)
        for (int pad = 1; pad <= 16; ++pad)
            for (const char* kind : {"PadMode", "PadState"})
                names += ", " + std::string(kind) + "_" + std::to_string(bank) + "_" +
                         (pad < 10 ? "0" : "") + std::to_string(pad);
    EXPECT_EQ(store.names(), names + ", Knob1Active, Knob2Active");
    EXPECT_EQ(ReadSettings({"PadMode_1_01", "PadState_1_01", "PadMode_1_02", "PadState_1_02",
                            "PadMode_3_16", "PadState_3_16", "Knob1Active", "Knob2Active"}),
              "PadMode_1_01=TOGGLE, PadState_1_01=-1, PadMode_1_02=FLASH, PadState_1_02=0, "
              "PadMode_3_16=FDB, PadState_3_16=-1, Knob1Active=1, Knob2Active=0");
}

TEST(SettingsSave, KnobStatesStayWhenAssignIsNotToggled) {
    FreshStore store;
    WriteSettings("Knob1Active=1, Knob2Active=0");
    Started h;
    h.main().bKnob1State = false;
    h.main().bKnob2State = true;
    h.settle();
    h.window().SaveSettings();
    EXPECT_EQ(ReadSettings({"Knob1Active", "Knob2Active"}), "Knob1Active=1, Knob2Active=0");
}

// An ending nobody is asked about (an error, or the close box, as the window manager, SIGTERM
// and SIGINT close it) saves the pads as "X" does, unless the stored pads were never loaded and
// no pad changed; a save that fails is said on standard error.
TEST(SettingsSave, EveryEndingSavesWhatChanged) {
    const struct {
        const char* name;
        const char* stored;
        std::function<void(Harness&)> before; // before the ending
        const char* after;
        bool readOnly = false;
    } cases[] = {
        {"a changed pad", "", [](Harness& h) { h.main().strPadMode[4][1] = "CN2"; },
         "PadMode_2_05=CN2"},
        {"nothing changed, nothing recalled", "AutoRecall=1, PadMode_1_01=TOGGLE, PadState_1_01=-1",
         [](Harness&) {}, "PadMode_1_01=TOGGLE, PadState_1_01=-1"},
        {"changed after a recall", "AutoRecall=1, PadMode_1_01=TOGGLE",
         [](Harness& h) {
             h.window().btnInitNativeMode_Click();
             h.settle();
             h.main().strPadMode[0][0] = "FLASH"; // the user made pad 1 plain again
         },
         "PadMode_1_01=FLASH"},
        {"a changed pad, a read-only file", "PadMode_2_05=TRK",
         [](Harness& h) { h.main().strPadMode[4][1] = "CN2"; }, "PadMode_2_05=TRK", true},
    };
    const std::pair<const char*, std::function<void(Harness&)>> endings[] = {
        {"an error",
         [](Harness& h) {
             h.host().failOn = "SetControllerPorts";
             h.window().statusArea->controllerPicker->chosen("^pads:");
         }},
        {"the close box", [](Harness& h) { h.window().close(); }},
    };
    for (const auto& [ending, end] : endings) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(ending) + ": " + c.name);
            FreshStore store;
            WriteSettings(c.stored);
            if (c.readOnly) { // made so outside Orvan: a new file the store has not seen
                const std::string text = store.contents();
                ::unlink(store.file().c_str());
                store.write(text);
                ::chmod(store.file().c_str(), 0444);
            }
            Started h;
            c.before(h);
            h.settle();
            ::testing::internal::CaptureStderr();
            end(h);
            const std::string said = ::testing::internal::GetCapturedStderr();
            EXPECT_TRUE(h.hostReleased());
            std::vector<std::string> names;
            for (const std::string& item : Items(c.after))
                names.push_back(item.substr(0, item.find('=')));
            EXPECT_EQ(ReadSettings(names), c.after);
            EXPECT_EQ(said.find("the pad assignments could not be saved") != std::string::npos,
                      c.readOnly)
                << said;
        }
    }
}

TEST(SettingsRecall, QuitRestartAndNativeModeBringBackEveryPad) {
    FreshStore store;
    WriteSettings("AutoRecall=1, AssignToggled=1");
    const char* const modes[] = {"FLASH", "TOGGLE", "CN1", "CN2", "CN3", "TRK", "FDB"};
    ControllerState::PadTable<ModeText> savedModes;
    ControllerState::PadTable<bool> savedStates;
    {
        Started h;
        ControllerEngine& m = h.main();
        for (int bank = 0; bank < 3; ++bank)
            for (int pad = 0; pad < 16; ++pad)
                SetPad(m, pad, bank, modes[(pad + bank) % 7], (pad * 3 + bank) % 4 == 0);
        m.bKnob1State = false;
        m.bKnob2State = true;
        savedModes = m.strPadMode;
        savedStates = m.bPadState;
        h.settle();
        h.messages().answers = {MsgAnswer::Yes};
        h.window().btnEnd_Click();
        ASSERT_TRUE(h.hostReleased());
    }
    Started h;
    ControllerEngine& m = h.main();
    for (const auto& pad : m.strPadMode)
        ASSERT_EQ(pad, (std::array<ModeText, 3>{"FLASH", "FLASH", "FLASH"}));
    h.window().btnInitNativeMode_Click(); // pads come back only with native mode
    h.settle();
    EXPECT_EQ(m.strPadMode, savedModes);
    EXPECT_EQ(m.bPadState, savedStates);
    EXPECT_FALSE(m.bKnob1State);
    EXPECT_TRUE(m.bKnob2State);
    // The LEDs are redrawn last: pads 0, 4, 8 and 12 of bank 1 on, bank 1 and knob 2 latched.
    EXPECT_EQ(h.wire().back(), W("[11 22 00 00 14|2D 5F 2D]")[0]);
    SetPad(m, 0, 0, "CN3", !savedStates[0][0]); // every press recalls again
    h.window().btnInitNativeMode_Click();
    h.settle();
    EXPECT_EQ(m.strPadMode, savedModes);
    EXPECT_EQ(m.bPadState, savedStates);
}

TEST(SettingsRecall, NothingIsRecalledWithoutAutoRecall) {
    // A file that has the key keeps its value; only one without it gets "1".
    for (const char* autoRecall : {"0", "true", " 1"}) {
        FreshStore store;
        WriteSetting("AutoRecall", autoRecall);
        WriteSettings("PadMode_1_01=TOGGLE, PadState_1_01=-1");
        Harness h;
        h.loadNative();
        EXPECT_EQ(h.main().strPadMode[0][0], "FLASH") << autoRecall;
        EXPECT_EQ(Lit(h.main()), "") << autoRecall;
    }
}

TEST(SettingsRecall, PadsWithoutUsableValuesKeepWhatTheyHave) {
    FreshStore store;
    WriteSettings("AutoRecall=1, PadMode_1_01=CN1, PadState_1_01=junk, PadState_1_02=1,"
                  "PadMode_1_03=TRK, PadState_1_03=0, Knob1Active=0");
    Started h;
    ControllerEngine& m = h.main();
    m.bPadState[0][0] = m.bPadState[2][0] = m.bKnob1State = true;
    m.strPadMode[1][0] = "TOGGLE";
    SetPad(m, 5, 1, "FDB", true);
    h.window().btnInitNativeMode_Click();
    h.settle();
    EXPECT_EQ(m.strPadMode[0][0], "CN1");
    EXPECT_EQ(m.strPadMode[1][0], "TOGGLE");
    EXPECT_EQ(m.strPadMode[2][0], "TRK");
    EXPECT_EQ(m.strPadMode[5][1], "FDB");
    EXPECT_EQ(Lit(m), "0/0 1/0 5/1");
    EXPECT_TRUE(m.bKnob1State); // never switched off by a recall
}

// The recall restores the settings first (not the flag only start-up reads), and a stored tap
// setting makes the tap timer 200 ms after it, 100 ms before.
TEST(SettingsRecall, RestoresTheSettingsFirst) {
    FreshStore store;
    WriteSetting("XYPadTap", "1");
    Started h;
    EXPECT_EQ(h.main().tmrTap.interval(), 100);
    WriteSettings("AutoRecall=1, GlobalChannel=5, FdbPadsAlwaysActive=1");
    h.window().btnInitNativeMode_Click();
    h.settle();
    EXPECT_EQ(h.main().intMidiChannel, 4);
    EXPECT_FALSE(h.main().bFdbPadsAlwaysActive);
    EXPECT_EQ(h.main().tmrTap.interval(), 200);
}
