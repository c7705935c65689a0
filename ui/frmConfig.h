#pragma once

#include "engine/ControllerState.h"
#include "ui/RepeatConfigRows.h"

#include <QDialog>
#include <QSize>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

// The configuration dialog: shows the stored settings, and on "Okay" stores what it shows and
// puts it into the settings it was given, for the window to apply at once. Leaving it any other
// way changes nothing.
class frmConfig : public QDialog {
public:
    // A "Notes" (index 0) / "CC" (index 1) pair; the two exclude each other.
    using OptionPair = std::array<QRadioButton*, 2>;

    // The size it takes where the screen has room for it.
    static constexpr QSize kPreferredSize{320, 557};
    // What the window manager's title bar and frame take above and below the dialog.
    static constexpr int kTitleBarAllowance = 40;

    explicit frmConfig(ControllerSettings& settings, QWidget* parent = nullptr);

    // No higher than the screen's available area; the rows scroll instead.
    void fitScreen(const QRect& available);

    void Form_Load();
    void RecallSettings();
    void btnOkay_Click();
    void SaveSettings();
    void btnRestoreDefaults_Click();
    // Shows a channel's text in the chooser: one of "1" to "16", or, as an entry of its own, a
    // stored text that is none of them (" 7", "abc"), so that it is stored again as it was.
    void showChannel(const QString& text);

    QCheckBox* chkRecallWithNativeMode = nullptr;
    QComboBox* cmbGlobalChannel = nullptr; // channels 1 to 16
    QComboBox* cmbSceneChannel = nullptr;  // "Off", channels 1 to 16

    OptionPair optJogWheelMidiCC{};
    QLineEdit* txtJogWheelLeft = nullptr;
    QLineEdit* txtJogWheelRight = nullptr;
    OptionPair optCN1MidiCC{};
    OptionPair optCN2MidiCC{};
    OptionPair optCN3MidiCC{};
    OptionPair optToggleMidiCC{};
    OptionPair optFlashMidiCC{};
    OptionPair optTRKMidiCC{};
    OptionPair optFDBMidiCC{};
    QCheckBox* chkFdbPadsAlwaysActive = nullptr;
    OptionPair optBankSelectMidiCC{};
    OptionPair optKnobMidiCC{};
    QCheckBox* chkAssignToggled = nullptr;
    QCheckBox* chkFixedVelocity = nullptr;
    QCheckBox* chkXYPadTap = nullptr;
    RepeatConfigRows repeatRows;
    QPushButton* btnRestoreDefaults = nullptr;
    QPushButton* btnOkay = nullptr;
    QScrollArea* scrollArea = nullptr;

private:
    void buildWindow();
    QCheckBox* addCheckBox(QGridLayout* grid, const char* label, const char* name,
                           const char* help);
    OptionPair addOptionPair(QGridLayout* grid, const char* label, const char* name,
                             const char* help);
    // The first control whose text cannot be stored, and why; nullptr when all can.
    QWidget* invalidField(QString& why) const;
    // The eight pad and button groups that store "MIDI" or "CC", in the order they are stored.
    struct ModeGroup {
        const char* valueName;
        OptionPair* pair;
        SettingText ControllerSettings::*variable;
    };
    std::array<ModeGroup, 8> modeGroups();

    ControllerSettings& state_;
};
