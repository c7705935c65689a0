#include "FreshStore.h"
#include "settings/frmConfig.h"
#include "settings/mSettings.h"
#include "support/Harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
std::vector<frmConfig::OptionPair> allPairs(const frmConfig& d) {
    return {d.optJogWheelMidiCC,   d.optCN1MidiCC,   d.optCN2MidiCC, d.optCN3MidiCC,
            d.optToggleMidiCC,     d.optFlashMidiCC, d.optTRKMidiCC, d.optFDBMidiCC,
            d.optBankSelectMidiCC, d.optKnobMidiCC};
}

std::vector<QCheckBox*> allChecks(const frmConfig& d) {
    return {d.chkRecallWithNativeMode, d.chkFdbPadsAlwaysActive, d.chkAssignToggled,
            d.chkFixedVelocity, d.chkXYPadTap};
}

// A started main window on a store of the test's own.
struct SettingsDialog : ::testing::Test {
    FreshStore store;
    Harness h;
    SettingsDialog() { h.load(); }

    bool refusedWithTheMessage() {
        if (h.messages().shown.size() != 1)
            return false;
        const MessageRequest& shown = h.messages().shown.front();
        return shown.title == "Attention..." &&
               shown.text == "Please make sure all the fields have valid values." &&
               shown.kind == MsgKind::Critical && !shown.yesNo;
    }
};

void type(QLineEdit* box, const char* text) {
    box->setText(QString::fromUtf8(text));
}
} // namespace

TEST_F(SettingsDialog, ShowsTheRowsUnderTheirNames) {
    frmConfig d(h.main());
    EXPECT_EQ(d.windowTitle(), "Orvan Configuration");
    EXPECT_EQ(d.size(), QSize(320, 557));
    QStringList labels;
    for (const QLabel* label : d.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"Automatically recall Settings when entering Native Mode:", "Global MIDI-Channel (1..16)",
          "JogWheel sends", "JogWheel sends Values", "turn left:", "turn right:",
          "Pads in CN1-Mode send", "Pads in CN2-Mode send", "Pads in CN3-Mode send",
          "Pads in Toggle-Mode send", "Pads in Flash-Mode send", "Pads in TRK-Mode send",
          "Pads in FDB-Mode send", "Pads in FDB-Mode always active", "Bank-Select Buttons send",
          "Knobs 1+2 send\n(+Assign Buttons)", "Assign Buttons are Toggled",
          "Pads send Notes with fixed velocity (100%)", "XY-pad acts as TAP"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(labels.count("Notes"), 10);
    EXPECT_EQ(labels.count("CC"), 10);
    for (const char* name : {"chkRecallWithNativeMode", "txtGlobalChannel", "txtJogWheelLeft",
                             "txtJogWheelRight", "chkFdbPadsAlwaysActive", "chkAssignToggled",
                             "chkFixedVelocity", "chkXYPadTap", "btnRestoreDefaults", "btnOkay"})
        EXPECT_NE(d.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(d.findChildren<QRadioButton*>("optJogWheelMidiCC").size(), 2);
    EXPECT_EQ(d.btnRestoreDefaults->text(), "Restore Defaults");
    EXPECT_EQ(d.btnOkay->text(), "Okay");
    for (const QCheckBox* box : allChecks(d))
        EXPECT_TRUE(box->text().isEmpty());
    for (const QLineEdit* box : {d.txtGlobalChannel, d.txtJogWheelLeft, d.txtJogWheelRight})
        EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max());
}

TEST_F(SettingsDialog, FirstRunShowsTheDefaults) {
    frmConfig d(h.main());
    for (const QCheckBox* box : allChecks(d))
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(d.txtGlobalChannel->text(), "1");
    EXPECT_EQ(d.txtJogWheelLeft->text(), "40");
    EXPECT_EQ(d.txtJogWheelRight->text(), "41");
    for (const auto& pair : allPairs(d)) {
        EXPECT_TRUE(pair[0]->isChecked()) << pair[0]->objectName().toStdString();
        EXPECT_FALSE(pair[1]->isChecked());
    }
}

TEST_F(SettingsDialog, ShowsWhatIsStoredNotWhatRuns) {
    WriteSetting("AutoRecall", "1");
    WriteSetting("GlobalChannel", "17");
    WriteSetting("JogWheelSends", "cc");
    WriteSetting("CN2Mode", "junk");
    WriteSetting("FDBMode", "Cc");
    WriteSetting("JogWheelRight", "x");
    WriteSetting("XYPadTap", "1");
    WriteSetting("FdbPadsAlwaysActive", "1");
    WriteSetting("AssignToggled", "true");
    frmConfig d(h.main());
    EXPECT_TRUE(d.chkRecallWithNativeMode->isChecked());
    EXPECT_EQ(d.txtGlobalChannel->text(), "1");
    EXPECT_TRUE(d.optJogWheelMidiCC[1]->isChecked());
    EXPECT_FALSE(d.optCN2MidiCC[0]->isChecked());
    EXPECT_FALSE(d.optCN2MidiCC[1]->isChecked());
    EXPECT_TRUE(d.optFDBMidiCC[1]->isChecked());
    EXPECT_EQ(d.txtJogWheelRight->text(), "x");
    EXPECT_TRUE(d.chkXYPadTap->isChecked());
    EXPECT_TRUE(d.chkFdbPadsAlwaysActive->isChecked());
    EXPECT_FALSE(d.chkAssignToggled->isChecked());
}

TEST_F(SettingsDialog, StoredChannelShownByItsValue) {
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {{"16", "16"},   {" 7", " 7"}, {"0", "1"},     {"17", "1"},  {"99999", "1"},
                 {"abc", "abc"}, {"", ""},     {"0.6", "0.6"}, {"16.6", "1"}};
    for (const auto& c : cases) {
        WriteSetting("GlobalChannel", c.stored);
        frmConfig d(h.main());
        EXPECT_EQ(d.txtGlobalChannel->text().toStdString(), c.shown) << c.stored;
    }
}

TEST_F(SettingsDialog, AutoRecallOtherThanZeroOrOneLeavesTheBox) {
    for (const char* stored : {"2", "yes", "-1"}) {
        WriteSetting("AutoRecall", stored);
        frmConfig d(h.main());
        EXPECT_FALSE(d.chkRecallWithNativeMode->isChecked()) << stored;
    }
}

TEST_F(SettingsDialog, NotesAreStoredAsMidiAndShownAgain) {
    {
        frmConfig d(h.main());
        d.optJogWheelMidiCC[1]->setChecked(true);
        d.btnOkay->click();
        EXPECT_EQ(ReadSetting("JogWheelSends"), "CC");
        EXPECT_EQ(h.main().strJogWheelMode, "CC");
    }
    {
        frmConfig d(h.main());
        EXPECT_TRUE(d.optJogWheelMidiCC[1]->isChecked());
        d.optJogWheelMidiCC[0]->setChecked(true);
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ReadSetting("JogWheelSends"), "Midi");
    EXPECT_EQ(h.main().strJogWheelMode, "MIDI");
    frmConfig d(h.main());
    EXPECT_TRUE(d.optJogWheelMidiCC[0]->isChecked());
    EXPECT_FALSE(d.optJogWheelMidiCC[1]->isChecked());
}

TEST_F(SettingsDialog, ChannelIsStoredAsTypedAndAppliedAtOnce) {
    const struct {
        const char* typed;
        int channel;
    } cases[] = {{" 7", 6}, {"16", 15}, {"1", 0}, {"0.6", 0}, {"2.5", 1}};
    for (const auto& c : cases) {
        frmConfig d(h.main());
        type(d.txtGlobalChannel, c.typed);
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(ReadSetting("GlobalChannel"), c.typed);
        EXPECT_EQ(h.main().intMidiChannel, c.channel) << c.typed;
    }
    EXPECT_TRUE(h.messages().shown.empty());
}

TEST_F(SettingsDialog, ChannelOutOfRangeClosesAndKeepsTheChannel) {
    WriteSetting("GlobalChannel", "5");
    h.main().intMidiChannel = 4;
    for (const char* typed : {"17", "0", "-3", "16.4", "99999", "-99999"}) {
        frmConfig d(h.main());
        type(d.txtGlobalChannel, typed);
        type(d.txtJogWheelLeft, "12");
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted) << typed;
        EXPECT_EQ(ReadSetting("GlobalChannel"), "5") << typed;
        EXPECT_EQ(h.main().intMidiChannel, 4) << typed;
        EXPECT_EQ(ReadSetting("JogWheelLeft"), "12"); // everything else is stored
        EXPECT_EQ(h.main().intJogWheelLeft, 12);
        WriteSetting("JogWheelLeft", "40");
    }
    EXPECT_TRUE(h.messages().shown.empty());
}

TEST_F(SettingsDialog, InvalidBoxesAreRefusedAndNothingIsStored) {
    const struct {
        const char* channel;
        const char* left;
        const char* right;
    } cases[] = {{"", "40", "41"},    {"1", "", "41"},      {"1", "40", ""},
                 {"one", "40", "41"}, {"1", "left", "41"},  {"1", "40", "4 1"},
                 {" ", "40", "41"},   {"1", "40000", "41"}, {"1", "40", "-32769"}};
    const std::string before = store.contents();
    for (const auto& c : cases) {
        h.messages().shown.clear();
        frmConfig d(h.main());
        d.chkFixedVelocity->setChecked(true);
        type(d.txtGlobalChannel, c.channel);
        type(d.txtJogWheelLeft, c.left);
        type(d.txtJogWheelRight, c.right);
        d.btnOkay->click();
        EXPECT_TRUE(refusedWithTheMessage()) << c.channel << "|" << c.left << "|" << c.right;
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.txtJogWheelRight->text().toStdString(), c.right); // contents unchanged
        EXPECT_EQ(store.contents(), before);
        EXPECT_FALSE(h.main().bFixedVelocity);
    }
}

TEST_F(SettingsDialog, JogValuesAreStoredAsTypedAndAppliedRounded) {
    frmConfig d(h.main());
    type(d.txtJogWheelLeft, " 2.5");
    type(d.txtJogWheelRight, "-32768");
    d.btnOkay->click();
    EXPECT_EQ(ReadSetting("JogWheelLeft"), " 2.5");
    EXPECT_EQ(ReadSetting("JogWheelRight"), "-32768");
    EXPECT_EQ(h.main().intJogWheelLeft, 2);
    EXPECT_EQ(h.main().intJogWheelRight, -32768);
}

TEST_F(SettingsDialog, EveryChangeTakesEffectAtOnce) {
    WriteSetting("FdbPadsAlwaysActive", "1");
    h.main().bFdbPadsAlwaysActive = true;
    frmConfig d(h.main());
    ASSERT_TRUE(d.chkFdbPadsAlwaysActive->isChecked());
    d.chkFdbPadsAlwaysActive->setChecked(false);
    d.chkRecallWithNativeMode->setChecked(true);
    d.chkAssignToggled->setChecked(true);
    d.chkFixedVelocity->setChecked(true);
    d.chkXYPadTap->setChecked(true);
    for (const auto& pair : allPairs(d))
        pair[1]->setChecked(true);
    d.btnOkay->click();

    const frmMain& m = h.main();
    EXPECT_FALSE(m.bFdbPadsAlwaysActive);
    EXPECT_EQ(ReadSetting("FdbPadsAlwaysActive"), "0");
    EXPECT_EQ(ReadSetting("AutoRecall"), "1");
    EXPECT_TRUE(m.bAssignToggled);
    EXPECT_EQ(ReadSetting("AssignToggled"), "1");
    EXPECT_TRUE(m.bFixedVelocity);
    EXPECT_EQ(ReadSetting("FixedVelocity"), "1");
    EXPECT_TRUE(m.bXYPadTap);
    EXPECT_EQ(ReadSetting("XYPadTap"), "1");
    EXPECT_EQ(m.tmrTap.interval(), 100);
    const std::pair<const char*, const std::string*> modes[] = {
        {"JogWheelSends", &m.strJogWheelMode}, {"KnobSends", &m.strKnobMode},
        {"CN1Mode", &m.strCN1MidiCC},          {"CN2Mode", &m.strCN2MidiCC},
        {"CN3Mode", &m.strCN3MidiCC},          {"ToggleMode", &m.strToggleMidiCC},
        {"FlashMode", &m.strFlashMidiCC},      {"BankSelectMode", &m.strBankSelectMidiCC},
        {"TRKMode", &m.strTRKMidiCC},          {"FDBMode", &m.strFDBMidiCC}};
    for (const auto& [name, variable] : modes) {
        EXPECT_EQ(ReadSetting(name), "CC") << name;
        EXPECT_EQ(*variable, "CC") << name;
    }
    EXPECT_EQ(ReadSetting("Knob1Active"), "");
    EXPECT_EQ(ReadSetting("PadMode_1_01"), "");
}

TEST_F(SettingsDialog, RestoreDefaultsFillsTheControlsOnly) {
    WriteSetting("GlobalChannel", "9");
    WriteSetting("JogWheelLeft", "1");
    WriteSetting("CN1Mode", "CC");
    WriteSetting("XYPadTap", "1");
    WriteSetting("AutoRecall", "1");
    const std::string before = store.contents();
    frmConfig d(h.main());
    d.btnRestoreDefaults->click();
    for (const QCheckBox* box : allChecks(d))
        EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(d.txtGlobalChannel->text(), "1");
    EXPECT_EQ(d.txtJogWheelLeft->text(), "40");
    EXPECT_EQ(d.txtJogWheelRight->text(), "41");
    for (const auto& pair : allPairs(d))
        EXPECT_TRUE(pair[0]->isChecked());
    EXPECT_EQ(store.contents(), before);

    d.btnOkay->click();
    EXPECT_EQ(ReadSetting("GlobalChannel"), "1");
    EXPECT_EQ(ReadSetting("JogWheelLeft"), "40");
    EXPECT_EQ(ReadSetting("CN1Mode"), "MIDI");
    EXPECT_EQ(ReadSetting("XYPadTap"), "0");
    EXPECT_EQ(ReadSetting("AutoRecall"), "0");
}

TEST_F(SettingsDialog, ConfigButtonOpensAFreshModalDialog) {
    WriteSetting("GlobalChannel", "3");
    bool seen = false;
    // Acts for the user once the modal dialog runs.
    QTimer::singleShot(0, [&] {
        auto* d = dynamic_cast<frmConfig*>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = d->isModal() && d->txtGlobalChannel->text() == "3";
        type(d->txtGlobalChannel, "12");
        d->btnOkay->click();
    });
    h.main().btnConfig_Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(h.main().intMidiChannel, 11);
    EXPECT_EQ(ReadSetting("GlobalChannel"), "12");
}

TEST_F(SettingsDialog, LeavingWithoutOkayStoresNothing) {
    const std::string before = store.contents();
    QTimer::singleShot(0, [&] {
        if (auto* d = dynamic_cast<frmConfig*>(QApplication::activeModalWidget())) {
            type(d->txtGlobalChannel, "12");
            d->chkXYPadTap->setChecked(true);
            d->reject();
        }
    });
    h.main().btnConfig_Click();
    EXPECT_EQ(store.contents(), before);
    EXPECT_EQ(h.main().intMidiChannel, 0);
    EXPECT_FALSE(h.main().bXYPadTap);
}
