#include "FreshStore.h"
#include "Kit.h"
#include "settings/TextNumber.h"
#include "ui/frmConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {
std::vector<frmConfig::OptionPair> Pairs(const frmConfig& d) {
    return {d.optJogWheelMidiCC,   d.optCN1MidiCC,   d.optCN2MidiCC, d.optCN3MidiCC,
            d.optToggleMidiCC,     d.optFlashMidiCC, d.optTRKMidiCC, d.optFDBMidiCC,
            d.optBankSelectMidiCC, d.optKnobMidiCC};
}

std::vector<QCheckBox*> Checks(const frmConfig& d) {
    return {d.chkRecallWithNativeMode, d.chkFdbPadsAlwaysActive, d.chkAssignToggled,
            d.chkFixedVelocity, d.chkXYPadTap};
}

// What the controls show: the check boxes (recall, FDB always active, assign toggled, fixed
// velocity, tap) as 0/1, the three text boxes, then each pair, in the order above, as N (Notes),
// C (CC), - (neither) or B (both).
std::string Shown(const frmConfig& d) {
    std::string shown;
    for (const QCheckBox* box : Checks(d))
        shown += box->isChecked() ? "1" : "0";
    shown += "|" + d.cmbGlobalChannel->currentText().toStdString();
    for (const QLineEdit* box : {d.txtJogWheelLeft, d.txtJogWheelRight})
        shown += "|" + box->text().toStdString();
    shown += "|";
    for (const auto& pair : Pairs(d))
        shown += "-NCB"[pair[0]->isChecked() + 2 * pair[1]->isChecked()];
    return shown;
}
const char* const kDefaults = "00000|1|40|41|NNNNNNNNNN";
// What a first run stores shows recall with native mode on.
const char* const kFirstRun = "10000|1|40|41|NNNNNNNNNN";

void Type(QLineEdit* box, const char* text) {
    box->setText(QString::fromUtf8(text));
}
// A channel as chosen, or as a stored text that is none of 1..16 shows.
void Type(frmConfig& d, const char* channel) {
    d.showChannel(QString::fromUtf8(channel));
}

// A started main window on a store of the test's own.
struct SettingsDialog : ::testing::Test {
    FreshStore store;
    Started h;

    // The settings the window keeps, which the dialog edits.
    ControllerSettings& settings() { return h.window().Settings(); }

    bool refusedWithTheMessage() {
        if (h.messages().shown.size() != 1)
            return false;
        const MessageRequest& shown = h.messages().shown.front();
        return shown.title == "Attention..." &&
               shown.text.startsWith("Please make sure all the fields have valid values.") &&
               shown.kind == MsgKind::Critical && !shown.yesNo;
    }
};
} // namespace

TEST_F(SettingsDialog, ShowsTheRowsUnderTheirNames) {
    frmConfig d(settings());
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
    for (const char* name : {"chkRecallWithNativeMode", "cmbGlobalChannel", "txtJogWheelLeft",
                             "txtJogWheelRight", "chkFdbPadsAlwaysActive", "chkAssignToggled",
                             "chkFixedVelocity", "chkXYPadTap", "btnRestoreDefaults", "btnOkay"})
        EXPECT_NE(d.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(d.findChildren<QRadioButton*>("optJogWheelMidiCC").size(), 2);
    EXPECT_EQ(d.btnRestoreDefaults->text(), "Restore Defaults");
    EXPECT_EQ(d.btnOkay->text(), "Okay");
    for (const QCheckBox* box : Checks(d))
        EXPECT_TRUE(box->text().isEmpty());
    for (const QLineEdit* box : {d.txtJogWheelLeft, d.txtJogWheelRight})
        EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max());
    EXPECT_EQ(d.cmbGlobalChannel->count(), 16);
    EXPECT_EQ(d.cmbGlobalChannel->itemText(15), "16");
    for (QWidget* control : d.findChildren<QWidget*>()) {
        const bool isControl = qobject_cast<QAbstractButton*>(control) ||
                               qobject_cast<QComboBox*>(control) ||
                               qobject_cast<QLineEdit*>(control);
        EXPECT_TRUE(!isControl || !control->toolTip().isEmpty())
            << control->objectName().toStdString();
    }
}

// What the controls show comes from the store, not from the running state. Each row writes
// over the rows before.
TEST_F(SettingsDialog, ShowsWhatIsStored) {
    EXPECT_EQ(Shown(frmConfig(settings())), kFirstRun);
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"AutoRecall=2", kDefaults},
        {"AutoRecall=yes", kDefaults},
        {"AutoRecall=-1", kDefaults},
        {"GlobalChannel=16", "00000|16|40|41|NNNNNNNNNN"},
        {"GlobalChannel=abc", "00000|abc|40|41|NNNNNNNNNN"},
        {"GlobalChannel=", "00000||40|41|NNNNNNNNNN"},
        {"GlobalChannel=0.6", "00000|0.6|40|41|NNNNNNNNNN"},
        {"GlobalChannel=0", kDefaults},
        {"GlobalChannel=17", kDefaults},
        {"GlobalChannel=99999", kDefaults},
        {"GlobalChannel=16.6", kDefaults},
        {"AutoRecall=1, JogWheelSends=cc, CN2Mode=junk, FDBMode=Cc, JogWheelRight=x, XYPadTap=1,"
         "FdbPadsAlwaysActive=1, AssignToggled=true",
         "11001|1|40|x|CN-NNNNCNN"},
    };
    for (const auto& c : cases) {
        WriteSettings(c.stored);
        EXPECT_EQ(Shown(frmConfig(settings())), c.shown) << c.stored;
    }
    WriteSetting("GlobalChannel", " 7");
    EXPECT_EQ(Shown(frmConfig(settings())), "11001| 7|40|x|CN-NNNNCNN");
}

TEST_F(SettingsDialog, NotesAreStoredAsMidiAndShownAgain) {
    {
        frmConfig d(settings());
        d.optJogWheelMidiCC[1]->setChecked(true);
        d.btnOkay->click();
        EXPECT_EQ(ReadSetting("JogWheelSends"), "CC");
        EXPECT_EQ(settings().strJogWheelMode, "CC");
    }
    {
        frmConfig d(settings());
        EXPECT_EQ(Shown(d), "10000|1|40|41|CNNNNNNNNN");
        d.optJogWheelMidiCC[0]->setChecked(true);
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(ReadSetting("JogWheelSends"), "Midi");
    EXPECT_EQ(settings().strJogWheelMode, "MIDI");
    EXPECT_EQ(Shown(frmConfig(settings())), kFirstRun);
}

// The texts are stored as typed; the variables get their rounded values at once.
TEST_F(SettingsDialog, TextBoxesAreStoredAsTypedAndAppliedAtOnce) {
    const struct {
        const char *channel, *left, *right;
        const char* variables;
    } cases[] = {{" 7", " 2.5", "-32768", "GlobalChannel=6, JogWheelLeft=2, JogWheelRight=-32768"},
                 {"16", "40", "41", "GlobalChannel=15, JogWheelLeft=40, JogWheelRight=41"},
                 {"1", "0", "32767", "GlobalChannel=0, JogWheelLeft=0, JogWheelRight=32767"},
                 {"0.6", "40", "41", "GlobalChannel=0, JogWheelLeft=40, JogWheelRight=41"},
                 {"2.5", "40", "41", "GlobalChannel=1, JogWheelLeft=40, JogWheelRight=41"}};
    for (const auto& c : cases) {
        frmConfig d(settings());
        Type(d, c.channel);
        Type(d.txtJogWheelLeft, c.left);
        Type(d.txtJogWheelRight, c.right);
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(ReadSettings({"GlobalChannel", "JogWheelLeft", "JogWheelRight"}),
                  std::string("GlobalChannel=") + c.channel + ", JogWheelLeft=" + c.left +
                      ", JogWheelRight=" + c.right);
        EXPECT_EQ(Variables(settings(), {"GlobalChannel", "JogWheelLeft", "JogWheelRight"}),
                  c.variables);
    }
    EXPECT_TRUE(h.messages().shown.empty());
}

// A channel out of 1..16 closes the dialog, stores everything else and keeps the channel.
TEST_F(SettingsDialog, ChannelOutOfRangeKeepsTheChannel) {
    WriteSetting("GlobalChannel", "5");
    settings().intMidiChannel = 4;
    for (const char* typed : {"17", "0", "-3", "16.4", "99999", "-99999"}) {
        WriteSetting("JogWheelLeft", "40");
        frmConfig d(settings());
        Type(d, typed);
        Type(d.txtJogWheelLeft, "12");
        d.btnOkay->click();
        EXPECT_EQ(d.result(), QDialog::Accepted) << typed;
        EXPECT_EQ(ReadSettings({"GlobalChannel", "JogWheelLeft"}),
                  "GlobalChannel=5, JogWheelLeft=12")
            << typed;
        EXPECT_EQ(Variables(settings(), {"GlobalChannel", "JogWheelLeft"}),
                  "GlobalChannel=4, JogWheelLeft=12");
    }
    EXPECT_TRUE(h.messages().shown.empty());
}

TEST_F(SettingsDialog, InvalidBoxesAreRefusedAndNothingIsStored) {
    const struct {
        const char *channel, *left, *right;
    } cases[] = {{"", "40", "41"},    {"1", "", "41"},      {"1", "40", ""},
                 {"one", "40", "41"}, {"1", "left", "41"},  {"1", "40", "4 1"},
                 {" ", "40", "41"},   {"1", "40000", "41"}, {"1", "40", "-32769"}};
    const std::string before = store.contents();
    for (const auto& c : cases) {
        h.messages().shown.clear();
        frmConfig d(settings());
        d.chkFixedVelocity->setChecked(true);
        Type(d, c.channel);
        Type(d.txtJogWheelLeft, c.left);
        Type(d.txtJogWheelRight, c.right);
        d.btnOkay->click();
        EXPECT_TRUE(refusedWithTheMessage()) << c.channel << "|" << c.left << "|" << c.right;
        // The first invalid field is named, and has the focus.
        QWidget* field = !NumberOfText(c.channel) ? static_cast<QWidget*>(d.cmbGlobalChannel)
                         : !IntegerOfText(c.left) ? d.txtJogWheelLeft
                                                  : d.txtJogWheelRight;
        const char* named = field == d.cmbGlobalChannel  ? "Global MIDI-Channel"
                            : field == d.txtJogWheelLeft ? "turn left"
                                                         : "turn right";
        EXPECT_NE(h.messages().shown.front().text.indexOf(QString::fromLatin1(named)), -1);
        EXPECT_EQ(d.focusWidget(), field);
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(Shown(d), std::string("10010|") + c.channel + "|" + c.left + "|" + c.right +
                                "|NNNNNNNNNN"); // the controls are left as they were
        EXPECT_EQ(store.contents(), before);
        EXPECT_FALSE(settings().bFixedVelocity);
    }
}

TEST_F(SettingsDialog, EveryChangeTakesEffectAtOnce) {
    WriteSetting("FdbPadsAlwaysActive", "1");
    settings().bFdbPadsAlwaysActive = true;
    frmConfig d(settings());
    ASSERT_TRUE(d.chkFdbPadsAlwaysActive->isChecked());
    d.chkFdbPadsAlwaysActive->setChecked(false);
    for (QCheckBox* box :
         {d.chkRecallWithNativeMode, d.chkAssignToggled, d.chkFixedVelocity, d.chkXYPadTap})
        box->setChecked(true);
    for (const auto& pair : Pairs(d))
        pair[1]->setChecked(true);
    d.btnOkay->click();

    const std::vector<std::string> flags = {"FdbPadsAlwaysActive", "AssignToggled", "FixedVelocity",
                                            "XYPadTap"};
    const std::string set = "FdbPadsAlwaysActive=0, AssignToggled=1, FixedVelocity=1, XYPadTap=1";
    EXPECT_EQ(ReadSettings(flags), set);
    EXPECT_EQ(Variables(settings(), flags), set);
    EXPECT_EQ(ReadSetting("AutoRecall"), "1");
    EXPECT_EQ(h.main().tmrTap.interval(), 100);
    for (const std::string& name : kModeSettings) {
        EXPECT_EQ(ReadSetting(name), "CC") << name;
        EXPECT_EQ(Variable(settings(), name), "CC") << name;
    }
    EXPECT_EQ(ReadSettings({"Knob1Active", "PadMode_1_01"}), "Knob1Active=, PadMode_1_01=");
}

TEST_F(SettingsDialog, RestoreDefaultsFillsTheControlsOnly) {
    WriteSettings("GlobalChannel=9, JogWheelLeft=1, CN1Mode=CC, XYPadTap=1, AutoRecall=1");
    const std::string before = store.contents();
    frmConfig d(settings());
    d.cmbSceneChannel->setCurrentIndex(3);
    d.btnRestoreDefaults->click();
    EXPECT_EQ(Shown(d), kFirstRun);
    EXPECT_EQ(store.contents(), before);
    d.btnOkay->click();
    EXPECT_EQ(ReadSettings({"GlobalChannel", "JogWheelLeft", "CN1Mode", "XYPadTap", "AutoRecall",
                            "SceneChannel"}),
              "GlobalChannel=1, JogWheelLeft=40, CN1Mode=MIDI, XYPadTap=0, AutoRecall=1, "
              "SceneChannel=Off");
}

// The configuration button opens a fresh modal dialog; leaving it other than with "Okay" stores
// nothing.
TEST_F(SettingsDialog, ConfigButtonOpensAFreshModalDialog) {
    WriteSetting("GlobalChannel", "3");
    for (bool okay : {false, true}) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = dynamic_cast<frmConfig*>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = d->isModal() && d->cmbGlobalChannel->currentText() == "3";
            Type(*d, "12");
            d->chkXYPadTap->setChecked(true);
            okay ? d->btnOkay->click() : d->reject();
        });
        const std::string before = store.contents();
        h.window().btnConfig_Click();
        h.settle();
        EXPECT_TRUE(seen);
        EXPECT_EQ(store.contents() == before, !okay);
        EXPECT_EQ(Variables(h.main(), {"GlobalChannel", "XYPadTap"}),
                  okay ? "GlobalChannel=11, XYPadTap=1" : "GlobalChannel=0, XYPadTap=0");
    }
    EXPECT_EQ(ReadSetting("GlobalChannel"), "12");
}

// On a screen too low for it (800 pixels at 150 %: 533 available) the dialog stays on the
// screen and its rows scroll; the buttons stay in sight.
TEST_F(SettingsDialog, FitsALowScreen) {
    frmConfig d(settings());
    d.fitScreen(QRect(0, 0, 1280, 533));
    d.show();
    QApplication::processEvents();
    EXPECT_EQ(d.size(), QSize(320, 533 - frmConfig::kTitleBarAllowance));
    EXPECT_GT(d.scrollArea->verticalScrollBar()->maximum(), 0);
    for (QWidget* control :
         {static_cast<QWidget*>(d.chkRecallWithNativeMode), static_cast<QWidget*>(d.chkXYPadTap)})
        EXPECT_TRUE(d.scrollArea->widget()->isAncestorOf(control));
    for (QWidget* button : {d.btnRestoreDefaults, d.btnOkay})
        EXPECT_TRUE(d.rect().contains(button->geometry()));
}

// The note repeat rows store their settings' texts; a text the setting refuses is named and
// nothing is stored.
TEST_F(SettingsDialog, NoteRepeatRowsStoreTheirTextsOrAreRefused) {
    const struct {
        const char *rate, *swing, *tempo, *tap;
        const char* refused; // the row named, nullptr when stored
    } cases[] = {{"1/16T", "12.5", "92.25", "Note button 2", nullptr},
                 {"1/8", "abc", "120", "Off", "Note repeat swing"},
                 {"1/8", "0", "400", "Off", "Own tempo"},
                 {"1/8", "0", "120", "Pedal", "Own tempo is tapped on"}};
    for (const auto& c : cases) {
        h.messages().shown.clear();
        const std::string before = store.contents();
        frmConfig d(settings());
        d.repeatRows.cmbControl->setCurrentText(QStringLiteral("Pedal"));
        d.repeatRows.cmbRate->setCurrentText(QString::fromLatin1(c.rate));
        Type(d.repeatRows.txtSwing, c.swing);
        Type(d.repeatRows.txtOwnTempo, c.tempo);
        d.repeatRows.cmbTapControl->setCurrentText(QString::fromLatin1(c.tap));
        d.btnOkay->click();
        if (c.refused) {
            EXPECT_TRUE(refusedWithTheMessage()) << c.refused;
            EXPECT_NE(h.messages().shown.front().text.indexOf(QString::fromLatin1(c.refused)), -1);
            EXPECT_EQ(store.contents(), before);
            continue;
        }
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(ReadSettings({"NoteRepeatControl", "NoteRepeatRate", "NoteRepeatSwing",
                                "NoteRepeatGate", "OwnTempo", "TapTempoControl"}),
                  "NoteRepeatControl=Pedal, NoteRepeatRate=1/16T, NoteRepeatSwing=12.5, "
                  "NoteRepeatGate=50, OwnTempo=92.25, TapTempoControl=Note button 2");
        EXPECT_EQ(settings().intOwnTempo, 9225);
        EXPECT_EQ(settings().intRepeatRate, 24);
    }
}

// A rate chosen on the controller is kept as if chosen here, and what the window sends later
// carries it.
TEST(NoteRepeatOnTheController, TheJogWheelsRateIsStored) {
    FreshStore store;
    WriteSetting("NoteRepeatControl", "Pedal");
    Started h;
    Reports(h, "47 00 7F, 43 00 01, 43 00 01, 47 00 00");
    h.settle();
    h.window().RefreshFromHost();
    EXPECT_EQ(ReadSettings({"NoteRepeatRate"}), "NoteRepeatRate=1/32");
    EXPECT_EQ(h.window().Settings().intRepeatRate, 32);
}
