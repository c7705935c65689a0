#include "FreshStore.h"
#include "settings/RegFile.h"
#include "settings/RegistryFile.h"
#include "settings/mSettings.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

namespace {
const char* const kModeNames[] = {"KnobSends",      "JogWheelSends", "CN1Mode",    "CN2Mode",
                                  "CN3Mode",        "FDBMode",       "ToggleMode", "FlashMode",
                                  "BankSelectMode", "TRKMode"};

std::string padName(const char* kind, int bank, int pad) {
    char name[32];
    std::snprintf(name, sizeof name, "%s_%d_%02d", kind, bank + 1, pad + 1);
    return name;
}

std::vector<std::string> storedNames() {
    const RegDocument document = ReadRegistryFile();
    const RegKey* key = document.findKey("HKEY_CURRENT_USER\\Software\\ZivUvozaro");
    std::vector<std::string> names;
    if (key)
        for (const RegValue& value : key->values)
            names.push_back(value.name);
    return names;
}

// Byte k (1-based) of a SysEx text in its hex form.
std::string byteAt(const std::string& text, size_t k) {
    return text.substr(3 * k - 3, 2);
}
} // namespace

TEST(SettingsRestore, FirstRunWritesTheDefaults) {
    FreshStore store;
    Harness h;
    h.load();
    const frmMain& m = h.main();
    std::vector<std::string> expected = {"AssignToggled", "FixedVelocity"};
    expected.insert(expected.end(), std::begin(kModeNames), std::end(kModeNames));
    expected.insert(expected.end(), {"GlobalChannel", "JogWheelLeft", "JogWheelRight"});
    EXPECT_EQ(storedNames(), expected);
    EXPECT_EQ(ReadSetting("AssignToggled"), "0");
    EXPECT_EQ(ReadSetting("FixedVelocity"), "0");
    for (const char* name : kModeNames)
        EXPECT_EQ(ReadSetting(name), "MIDI") << name;
    EXPECT_EQ(ReadSetting("GlobalChannel"), "1");
    EXPECT_EQ(ReadSetting("JogWheelLeft"), "40");
    EXPECT_EQ(ReadSetting("JogWheelRight"), "41");

    EXPECT_FALSE(m.bAssignToggled);
    EXPECT_FALSE(m.bFixedVelocity);
    for (const std::string* mode :
         {&m.strKnobMode, &m.strJogWheelMode, &m.strCN1MidiCC, &m.strCN2MidiCC, &m.strCN3MidiCC,
          &m.strFDBMidiCC, &m.strToggleMidiCC, &m.strFlashMidiCC, &m.strBankSelectMidiCC,
          &m.strTRKMidiCC})
        EXPECT_EQ(*mode, "MIDI");
    EXPECT_EQ(m.intMidiChannel, 0);
    EXPECT_EQ(m.intJogWheelLeft, 40);
    EXPECT_EQ(m.intJogWheelRight, 41);
    EXPECT_FALSE(m.bXYPadTap);
    EXPECT_FALSE(m.bFdbPadsAlwaysActive);
    EXPECT_EQ(h.main().tmrTap.interval(), 100);
    EXPECT_EQ(h.main().tmrDisplay.interval(), 500);
    for (const auto& pad : m.strPadMode)
        for (const std::string& mode : pad)
            EXPECT_EQ(mode, "FLASH");
}

struct StoredSetting {
    const char* name;
    const char* stored;
    const char* storedAfter; // what the store holds after start-up
    int expected;            // the variable, by the test's own reading
};

class SettingsRestoreValue : public ::testing::TestWithParam<StoredSetting> {};

TEST_P(SettingsRestoreValue, AppliesOrReplacesTheStoredText) {
    FreshStore store;
    const StoredSetting& s = GetParam();
    WriteSetting(s.name, s.stored);
    Harness h;
    h.load();
    const frmMain& m = h.main();
    EXPECT_EQ(ReadSetting(s.name), s.storedAfter);
    const std::string name = s.name;
    if (name == "GlobalChannel")
        EXPECT_EQ(m.intMidiChannel, s.expected);
    else if (name == "JogWheelLeft")
        EXPECT_EQ(m.intJogWheelLeft, s.expected);
    else if (name == "JogWheelRight")
        EXPECT_EQ(m.intJogWheelRight, s.expected);
    else if (name == "KnobSends")
        EXPECT_EQ(m.strKnobMode, s.expected ? "CC" : "MIDI");
    else if (name == "AssignToggled")
        EXPECT_EQ(m.bAssignToggled, s.expected != 0);
    else if (name == "FixedVelocity")
        EXPECT_EQ(m.bFixedVelocity, s.expected != 0);
    else if (name == "XYPadTap")
        EXPECT_EQ(m.bXYPadTap, s.expected != 0);
    else if (name == "FdbPadsAlwaysActive")
        EXPECT_EQ(m.bFdbPadsAlwaysActive, s.expected != 0);
    else
        FAIL() << name;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsRestoreValue,
    ::testing::Values(
        StoredSetting{"GlobalChannel", "0", "1", 0}, StoredSetting{"GlobalChannel", "17", "1", 0},
        StoredSetting{"GlobalChannel", "16", "16", 15},
        StoredSetting{"GlobalChannel", " 7", " 7", 6},
        StoredSetting{"GlobalChannel", "2.5", "2.5", 1},
        StoredSetting{"GlobalChannel", "seven", "1", 0},
        StoredSetting{"GlobalChannel", "99999", "1", 0}, StoredSetting{"JogWheelLeft", "0", "0", 0},
        StoredSetting{"JogWheelLeft", "-7", "-7", -7},
        StoredSetting{"JogWheelLeft", "300", "300", 300},
        StoredSetting{"JogWheelLeft", "left", "40", 40},
        StoredSetting{"JogWheelLeft", "40000", "40", 40},
        StoredSetting{"JogWheelRight", "0", "0", 0}, StoredSetting{"JogWheelRight", "x", "41", 41},
        StoredSetting{"KnobSends", "midi", "midi", 0},
        StoredSetting{"KnobSends", "Midi", "Midi", 0}, StoredSetting{"KnobSends", "cc", "cc", 1},
        StoredSetting{"KnobSends", "Notes", "MIDI", 0},
        StoredSetting{"AssignToggled", "true", "0", 0}, StoredSetting{"AssignToggled", "1", "1", 1},
        StoredSetting{"FixedVelocity", "-1", "0", 0}, StoredSetting{"FixedVelocity", "1", "1", 1},
        StoredSetting{"XYPadTap", "1", "1", 1}, StoredSetting{"XYPadTap", "yes", "yes", 0},
        StoredSetting{"FdbPadsAlwaysActive", "1", "1", 1},
        StoredSetting{"FdbPadsAlwaysActive", "true", "true", 0}));

TEST(SettingsRestore, JogWheelRightIsFoundUnderAnyCase) {
    FreshStore store;
    WriteSetting("JOGWHEELRIGHT", "12");
    Harness h;
    h.load();
    EXPECT_EQ(h.main().intJogWheelRight, 12);
    EXPECT_EQ(storedNames().front(), "JOGWHEELRIGHT");
}

TEST(SettingsRestore, TapIntervalIs200OnlyAfterARecall) {
    FreshStore store;
    WriteSetting("XYPadTap", "1");
    WriteSetting("AutoRecall", "1");
    Harness h;
    h.load();
    EXPECT_EQ(h.main().tmrTap.interval(), 100);
    h.main().btnInitNativeMode_Click();
    EXPECT_EQ(h.main().tmrTap.interval(), 200);
}

TEST(SettingsSave, WritesEveryPadInOrderThenTheKnobsWhenToggled) {
    FreshStore store;
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strPadMode[0][0] = "TOGGLE";
    m.bPadState[0][0] = true;
    m.strPadMode[15][2] = "FDB";
    m.bPadState[15][2] = true;
    m.bAssignToggled = true;
    m.bKnob1State = true;
    const size_t before = storedNames().size();
    m.SaveSettings();

    const std::vector<std::string> names = storedNames();
    ASSERT_EQ(names.size(), before + 98);
    size_t at = before;
    for (int bank = 0; bank < 3; ++bank) {
        for (int pad = 0; pad < 16; ++pad) {
            EXPECT_EQ(names[at++], padName("PadMode", bank, pad));
            EXPECT_EQ(names[at++], padName("PadState", bank, pad));
        }
    }
    EXPECT_EQ(names[at++], "Knob1Active");
    EXPECT_EQ(names[at++], "Knob2Active");
    EXPECT_EQ(ReadSetting("PadMode_1_01"), "TOGGLE");
    EXPECT_EQ(ReadSetting("PadState_1_01"), "-1");
    EXPECT_EQ(ReadSetting("PadMode_1_02"), "FLASH");
    EXPECT_EQ(ReadSetting("PadState_1_02"), "0");
    EXPECT_EQ(ReadSetting("PadMode_3_16"), "FDB");
    EXPECT_EQ(ReadSetting("PadState_3_16"), "-1");
    EXPECT_EQ(ReadSetting("Knob1Active"), "1");
    EXPECT_EQ(ReadSetting("Knob2Active"), "0");
}

TEST(SettingsSave, KnobStatesStayWhenAssignIsNotToggled) {
    FreshStore store;
    WriteSetting("Knob1Active", "1");
    WriteSetting("Knob2Active", "0");
    Harness h;
    h.load();
    h.main().bKnob1State = false;
    h.main().bKnob2State = true;
    h.main().SaveSettings();
    EXPECT_EQ(ReadSetting("Knob1Active"), "1");
    EXPECT_EQ(ReadSetting("Knob2Active"), "0");
}

TEST(SettingsSave, QuitYesSavesButNoAndTheCloseBoxDoNot) {
    FreshStore store;
    {
        Harness h;
        h.load();
        h.main().btnEnd_Click(); // answered No
        EXPECT_EQ(ReadSetting("PadMode_1_01"), "");
        h.main().close();
        EXPECT_TRUE(h.hostReleased());
        EXPECT_EQ(ReadSetting("PadMode_1_01"), "");
    }
    Harness h;
    h.load();
    h.messages().answers = {MsgAnswer::Yes};
    h.main().btnEnd_Click();
    EXPECT_EQ(ReadSetting("PadMode_1_01"), "FLASH");
    EXPECT_TRUE(h.hostReleased());
}

TEST(SettingsSave, AnErrorThatEndsTheProgramSavesFirst) {
    FreshStore store;
    Harness h;
    h.load();
    h.main().strPadMode[4][1] = "CN2";
    h.host().failOn = "HostSendSysEx";
    h.main().RunEvent([&] { h.main().btnInitNativeMode_Click(); });
    EXPECT_TRUE(h.main().Ending());
    EXPECT_EQ(ReadSetting("PadMode_2_05"), "CN2");
}

TEST(SettingsSave, AnErrorBeforeAnyPadChangedKeepsTheStoredPads) {
    FreshStore store;
    WriteSetting("AutoRecall", "1");
    WriteSetting("PadMode_1_01", "TOGGLE");
    WriteSetting("PadState_1_01", "-1");
    Harness h;
    h.load();
    h.host().failOn = "HostSendSysEx"; // fails before the recall could run
    h.main().RunEvent([&] { h.main().btnInitNativeMode_Click(); });
    EXPECT_TRUE(h.main().Ending());
    EXPECT_EQ(ReadSetting("PadMode_1_01"), "TOGGLE");
    EXPECT_EQ(ReadSetting("PadState_1_01"), "-1");
}

TEST(SettingsSave, AnErrorAfterTheRecallSavesTheRecalledPads) {
    FreshStore store;
    WriteSetting("AutoRecall", "1");
    WriteSetting("PadMode_1_01", "TOGGLE");
    Harness h;
    h.load();
    h.main().btnInitNativeMode_Click();
    h.main().strPadMode[0][0] = "FLASH"; // the user made pad 1 plain again
    h.host().failOn = "HostSendSysEx";
    h.main().RunEvent([&] { h.main().btnInitNativeMode_Click(); });
    EXPECT_TRUE(h.main().Ending());
    EXPECT_EQ(ReadSetting("PadMode_1_01"), "FLASH");
}

TEST(SettingsRecall, QuitRestartAndNativeModeBringBackEveryPad) {
    FreshStore store;
    WriteSetting("AutoRecall", "1");
    WriteSetting("AssignToggled", "1");
    const char* const modes[] = {"FLASH", "TOGGLE", "CN1", "CN2", "CN3", "TRK", "FDB"};
    ControllerState::PadTable<std::string> savedModes;
    ControllerState::PadTable<bool> savedStates;
    {
        Harness h;
        h.load();
        frmMain& m = h.main();
        for (int bank = 0; bank < 3; ++bank) {
            for (int pad = 0; pad < 16; ++pad) {
                m.strPadMode[pad][bank] = modes[(pad + bank) % 7];
                m.bPadState[pad][bank] = (pad * 3 + bank) % 4 == 0;
            }
        }
        m.bKnob1State = false;
        m.bKnob2State = true;
        savedModes = m.strPadMode;
        savedStates = m.bPadState;
        h.messages().answers = {MsgAnswer::Yes};
        m.btnEnd_Click();
        ASSERT_TRUE(h.hostReleased());
    }
    Harness h;
    h.load();
    frmMain& m = h.main();
    for (const auto& pad : m.strPadMode)
        for (const std::string& mode : pad)
            ASSERT_EQ(mode, "FLASH"); // pads come back only with native mode
    m.btnInitNativeMode_Click();
    EXPECT_EQ(m.strPadMode, savedModes);
    EXPECT_EQ(m.bPadState, savedStates);
    EXPECT_FALSE(m.bKnob1State);
    EXPECT_TRUE(m.bKnob2State);

    // The LEDs are redrawn last: pads 0, 4, 8 and 12 of bank 1 are on.
    const std::string last = h.wire().back();
    ASSERT_EQ(last.substr(0, 23), "F0 42 40 6E 08 3F 0A 01");
    EXPECT_EQ(byteAt(last, 9), "11");  // pads 0 and 4
    EXPECT_EQ(byteAt(last, 10), "22"); // pads 8 and 12
}

TEST(SettingsRecall, NothingIsRecalledWithoutAutoRecall) {
    for (const char* autoRecall : {"", "0", "true", " 1"}) {
        FreshStore store;
        WriteSetting("AutoRecall", autoRecall);
        WriteSetting("PadMode_1_01", "TOGGLE");
        WriteSetting("PadState_1_01", "-1");
        Harness h;
        h.loadNative();
        EXPECT_EQ(h.main().strPadMode[0][0], "FLASH") << autoRecall;
        EXPECT_FALSE(h.main().bPadState[0][0]) << autoRecall;
    }
}

TEST(SettingsRecall, PadsWithoutUsableValuesKeepWhatTheyHave) {
    FreshStore store;
    WriteSetting("AutoRecall", "1");
    WriteSetting("PadMode_1_01", "CN1");
    WriteSetting("PadState_1_01", "junk");
    WriteSetting("PadState_1_02", "1");
    WriteSetting("PadMode_1_03", "TRK");
    WriteSetting("PadState_1_03", "0");
    WriteSetting("Knob1Active", "0");
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.bPadState[0][0] = true;
    m.strPadMode[1][0] = "TOGGLE";
    m.bPadState[2][0] = true;
    m.strPadMode[5][1] = "FDB";
    m.bPadState[5][1] = true;
    m.bKnob1State = true;
    m.btnInitNativeMode_Click();
    EXPECT_EQ(m.strPadMode[0][0], "CN1");
    EXPECT_TRUE(m.bPadState[0][0]);
    EXPECT_EQ(m.strPadMode[1][0], "TOGGLE");
    EXPECT_TRUE(m.bPadState[1][0]);
    EXPECT_EQ(m.strPadMode[2][0], "TRK");
    EXPECT_FALSE(m.bPadState[2][0]);
    EXPECT_EQ(m.strPadMode[5][1], "FDB");
    EXPECT_TRUE(m.bPadState[5][1]);
    EXPECT_TRUE(m.bKnob1State); // never switched off by a recall
}

TEST(SettingsRecall, RestoresTheSettingsFirst) {
    FreshStore store;
    Harness h;
    h.load();
    WriteSetting("AutoRecall", "1");
    WriteSetting("GlobalChannel", "5");
    WriteSetting("FdbPadsAlwaysActive", "1");
    h.main().btnInitNativeMode_Click();
    EXPECT_EQ(h.main().intMidiChannel, 4);
    EXPECT_FALSE(h.main().bFdbPadsAlwaysActive); // read only at start-up
}
