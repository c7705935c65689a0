#include "ui/frmConfig.h"
#include "engine/UCase.h"
#include "settings/FirstRunValues.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsBatch.h"
#include "settings/TextNumber.h"
#include "settings/mSettings.h"
#include "ui/MessageBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {
QLabel* rowLabel(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setWordWrap(true);
    return label;
}

// The boxes take text of any length.
QLineEdit* textBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

std::string boxText(const QLineEdit* box) {
    return box->text().toStdString();
}

const char* flagText(const QCheckBox* box) {
    return box->isChecked() ? "1" : "0";
}

// Index 0 means notes ("MIDI"), index 1 control changes ("CC").
void selectStoredMode(const frmConfig::OptionPair& pair, const std::string& stored) {
    const auto mode = UCase(stored);
    if (mode == "CC")
        pair[1]->setChecked(true);
    if (mode == "MIDI")
        pair[0]->setChecked(true);
}
} // namespace

frmConfig::frmConfig(ControllerSettings& state, QWidget* parent) : QDialog(parent), state_(state) {
    buildWindow();
    Form_Load();
}

QCheckBox* frmConfig::addCheckBox(QGridLayout* grid, const char* label, const char* name,
                                  const char* help) {
    const int row = grid->rowCount();
    auto* box = new QCheckBox;
    box->setObjectName(QString::fromLatin1(name));
    QLabel* caption = rowLabel(label);
    for (QWidget* widget : {static_cast<QWidget*>(box), static_cast<QWidget*>(caption)})
        widget->setToolTip(QString::fromUtf8(help));
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

frmConfig::OptionPair frmConfig::addOptionPair(QGridLayout* grid, const char* label,
                                               const char* name, const char* help) {
    const int row = grid->rowCount();
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::NoFrame);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(frame);
    OptionPair pair{};
    const char* words[] = {"Notes", "CC"};
    const char* helps[] = {"notes", "control changes"};
    for (int index = 0; index < 2; ++index) {
        layout->addWidget(new QLabel(QString::fromLatin1(words[index])));
        pair[index] = new QRadioButton;
        pair[index]->setObjectName(QString::fromLatin1(name));
        pair[index]->setToolTip(QStringLiteral("%1: %2").arg(QString::fromUtf8(help),
                                                             QString::fromLatin1(helps[index])));
        group->addButton(pair[index], index);
        layout->addWidget(pair[index]);
    }
    layout->addStretch(1);
    QLabel* caption = rowLabel(label);
    caption->setToolTip(QString::fromUtf8(help));
    grid->addWidget(caption, row, 0);
    grid->addWidget(frame, row, 1);
    return pair;
}

void frmConfig::buildWindow() {
    setWindowTitle(QStringLiteral("Orvan Configuration"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The rows scroll when the screen is too low for them; the buttons stay in sight.
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    chkRecallWithNativeMode = addCheckBox(
        grid, "Automatically recall Settings when entering Native Mode:", "chkRecallWithNativeMode",
        "On \"Native Mode\", give the pads the modes and states they had when Orvan last quit");

    const int channelRow = grid->rowCount();
    cmbGlobalChannel = new QComboBox;
    cmbGlobalChannel->setObjectName(QStringLiteral("cmbGlobalChannel"));
    for (int channel = 1; channel <= 16; ++channel)
        cmbGlobalChannel->addItem(QString::number(channel));
    QLabel* channelLabel = rowLabel("Global MIDI-Channel (1..16)");
    channelLabel->setToolTip(QStringLiteral("The MIDI channel of every note and controller Orvan "
                                            "sends to your music software"));
    cmbGlobalChannel->setToolTip(channelLabel->toolTip());
    grid->addWidget(channelLabel, channelRow, 0);
    grid->addWidget(cmbGlobalChannel, channelRow, 1);

    optJogWheelMidiCC = addOptionPair(grid, "JogWheel sends", "optJogWheelMidiCC",
                                      "What a turn of the jog wheel sends");

    const int jogRow = grid->rowCount();
    auto* jogValues = new QGridLayout;
    txtJogWheelLeft = textBox("txtJogWheelLeft");
    txtJogWheelRight = textBox("txtJogWheelRight");
    txtJogWheelLeft->setToolTip(
        QStringLiteral("The note or controller number a turn to the left sends"));
    txtJogWheelRight->setToolTip(
        QStringLiteral("The note or controller number a turn to the right sends"));
    jogValues->addWidget(new QLabel(QStringLiteral("turn left:")), 0, 0);
    jogValues->addWidget(txtJogWheelLeft, 0, 1);
    jogValues->addWidget(new QLabel(QStringLiteral("turn right:")), 1, 0);
    jogValues->addWidget(txtJogWheelRight, 1, 1);
    grid->addWidget(rowLabel("JogWheel sends Values"), jogRow, 0);
    grid->addLayout(jogValues, jogRow, 1);

    optCN1MidiCC = addOptionPair(grid, "Pads in CN1-Mode send", "optCN1MidiCC",
                                 "What pads of Group 1 (CN1) send");
    optCN2MidiCC = addOptionPair(grid, "Pads in CN2-Mode send", "optCN2MidiCC",
                                 "What pads of Group 2 (CN2) send");
    optCN3MidiCC = addOptionPair(
        grid, "Pads in CN3-Mode send", "optCN3MidiCC",
        "What pads of Group 3 (CN3) send. No button on the controller gives a pad this mode: "
        "choose \"Group 3\" in a pad's right-click menu on the controller view, or give it in "
        "a scene");
    optToggleMidiCC = addOptionPair(grid, "Pads in Toggle-Mode send", "optToggleMidiCC",
                                    "What Toggle (TGL) pads send");
    optFlashMidiCC = addOptionPair(grid, "Pads in Flash-Mode send", "optFlashMidiCC",
                                   "What Momentary (FLASH) pads send");
    optTRKMidiCC = addOptionPair(grid, "Pads in TRK-Mode send", "optTRKMidiCC",
                                 "What Fixed 127 (TRK) pads send");
    optFDBMidiCC = addOptionPair(grid, "Pads in FDB-Mode send", "optFDBMidiCC",
                                 "What pads lit by feedback (FDB) send");
    chkFdbPadsAlwaysActive =
        addCheckBox(grid, "Pads in FDB-Mode always active", "chkFdbPadsAlwaysActive",
                    "Pads lit by feedback (FDB) play even while dark; otherwise only while "
                    "your music software keeps them lit");
    optBankSelectMidiCC = addOptionPair(grid, "Bank-Select Buttons send", "optBankSelectMidiCC",
                                        "What the bank buttons send");
    optKnobMidiCC = addOptionPair(grid, "Knobs 1+2 send\n(+Assign Buttons)", "optKnobMidiCC",
                                  "What the two knobs and their assign buttons send");
    chkAssignToggled = addCheckBox(grid, "Assign Buttons are Toggled", "chkAssignToggled",
                                   "Each press of a knob's assign button switches it on or off");
    chkFixedVelocity = addCheckBox(grid, "Pads send Notes with fixed velocity (100%)",
                                   "chkFixedVelocity", "Every pad hit sends velocity 127");
    chkXYPadTap = addCheckBox(grid, "XY-pad acts as TAP", "chkXYPadTap",
                              "A touch of the XY pad sends a tap instead of its position");
    repeatRows.build(grid);

    const int sceneRow = grid->rowCount();
    cmbSceneChannel = new QComboBox;
    cmbSceneChannel->setObjectName(QStringLiteral("cmbSceneChannel"));
    cmbSceneChannel->addItem(QStringLiteral("Off"));
    for (int channel = 1; channel <= 16; ++channel)
        cmbSceneChannel->addItem(QString::number(channel));
    QLabel* sceneLabel = rowLabel("Program changes switch scenes on channel");
    sceneLabel->setToolTip(QStringLiteral(
        "A program change from your music software on this channel switches to the saved scene "
        "at that place in the list (program 0: the first)"));
    cmbSceneChannel->setToolTip(sceneLabel->toolTip());
    grid->addWidget(sceneLabel, sceneRow, 0);
    grid->addWidget(cmbSceneChannel, sceneRow, 1);

    scrollArea = new QScrollArea;
    scrollArea->setWidget(rows);
    scrollArea->setWidgetResizable(true);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollArea, 1);

    auto* buttons = new QHBoxLayout;
    btnRestoreDefaults = new QPushButton(QStringLiteral("Restore Defaults"));
    btnRestoreDefaults->setObjectName(QStringLiteral("btnRestoreDefaults"));
    btnOkay = new QPushButton(QStringLiteral("Okay"));
    btnOkay->setObjectName(QStringLiteral("btnOkay"));
    btnOkay->setDefault(true);
    btnRestoreDefaults->setToolTip(
        QStringLiteral("Put the first-run values into the controls; \"Okay\" stores them"));
    btnOkay->setToolTip(QStringLiteral("Store these settings and use them at once"));
    buttons->addWidget(btnRestoreDefaults);
    buttons->addStretch(1);
    buttons->addWidget(btnOkay);
    layout->addLayout(buttons);
    connect(btnRestoreDefaults, &QPushButton::clicked, this,
            [this] { btnRestoreDefaults_Click(); });
    connect(btnOkay, &QPushButton::clicked, this, [this] { btnOkay_Click(); });

    setFixedWidth(kPreferredSize.width());
    resize(kPreferredSize);
    if (const QScreen* shown =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        fitScreen(shown->availableGeometry());
}

void frmConfig::fitScreen(const QRect& available) {
    resize(kPreferredSize.width(),
           std::min(kPreferredSize.height(), available.height() - kTitleBarAllowance));
}

std::array<frmConfig::ModeGroup, 8> frmConfig::modeGroups() {
    return {{
        {key::CN1Mode, &optCN1MidiCC, &ControllerSettings::strCN1MidiCC},
        {key::CN2Mode, &optCN2MidiCC, &ControllerSettings::strCN2MidiCC},
        {key::CN3Mode, &optCN3MidiCC, &ControllerSettings::strCN3MidiCC},
        {key::ToggleMode, &optToggleMidiCC, &ControllerSettings::strToggleMidiCC},
        {key::FlashMode, &optFlashMidiCC, &ControllerSettings::strFlashMidiCC},
        {key::BankSelectMode, &optBankSelectMidiCC, &ControllerSettings::strBankSelectMidiCC},
        {key::TRKMode, &optTRKMidiCC, &ControllerSettings::strTRKMidiCC},
        {key::FDBMode, &optFDBMidiCC, &ControllerSettings::strFDBMidiCC},
    }};
}

void frmConfig::Form_Load() {
    RecallSettings();
}

// Each step that finds no usable value is skipped; the others still run.
void frmConfig::RecallSettings() {
    const auto autoRecall = IntegerOfText(ReadSetting(key::AutoRecall));
    if (autoRecall == 0 || autoRecall == 1)
        chkRecallWithNativeMode->setChecked(*autoRecall == 1);

    selectStoredMode(optJogWheelMidiCC, ReadSetting(key::JogWheelSends));
    txtJogWheelLeft->setText(QString::fromStdString(ReadSetting(key::JogWheelLeft)));
    txtJogWheelRight->setText(QString::fromStdString(ReadSetting(key::JogWheelRight)));
    selectStoredMode(optKnobMidiCC, ReadSetting(key::KnobSends));

    chkAssignToggled->setChecked(ReadSetting(key::AssignToggled) == "1");
    chkFixedVelocity->setChecked(ReadSetting(key::FixedVelocity) == "1");

    for (const ModeGroup& group : modeGroups())
        selectStoredMode(*group.pair, ReadSetting(group.valueName));

    const std::string channel = ReadSetting(key::GlobalChannel);
    const auto c = IntegerOfText(channel);
    const bool outOfRange = NumberOfText(channel) && !(c && *c >= 1 && *c <= 16);
    showChannel(outOfRange ? QString::number(kFirstRunChannel) : QString::fromStdString(channel));

    if (ReadSetting(key::FdbPadsAlwaysActive) == "1")
        chkFdbPadsAlwaysActive->setChecked(true);
    if (ReadSetting(key::XYPadTap) == "1")
        chkXYPadTap->setChecked(true);
    // A stored channel in any accepted form ("Off", "off", " 16") shows as its item.
    const ConfigKey& sceneKey = *FindConfigKey(key::SceneChannel);
    ControllerSettings stored;
    const int scene =
        ApplySettingText(sceneKey, ReadSetting(key::SceneChannel), stored)
            ? cmbSceneChannel->findText(QString::fromStdString(SettingTextOf(sceneKey, stored)))
            : 0;
    cmbSceneChannel->setCurrentIndex(std::max(scene, 0));
    repeatRows.recall();
}

void frmConfig::showChannel(const QString& text) {
    while (cmbGlobalChannel->count() > 16)
        cmbGlobalChannel->removeItem(16);
    int at = cmbGlobalChannel->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        cmbGlobalChannel->addItem(text);
        at = 16;
    }
    cmbGlobalChannel->setCurrentIndex(at);
}

// Empty boxes, texts that are no numbers and jog values beyond 16 bits are all refused.
QWidget* frmConfig::invalidField(QString& why) const {
    if (!NumberOfText(cmbGlobalChannel->currentText().toStdString())) {
        why = QStringLiteral("\"Global MIDI-Channel\" must be a number from 1 to 16.");
        return cmbGlobalChannel;
    }
    const std::pair<QLineEdit*, const char*> jog[] = {{txtJogWheelLeft, "turn left"},
                                                      {txtJogWheelRight, "turn right"}};
    for (const auto& [box, name] : jog) {
        if (!IntegerOfText(boxText(box))) {
            why = QStringLiteral("\"JogWheel sends Values, %1:\" must be a whole number from "
                                 "-32768 to 32767.")
                      .arg(QString::fromLatin1(name));
            return box;
        }
    }
    return repeatRows.invalidField(why);
}

void frmConfig::btnOkay_Click() {
    QString why;
    if (QWidget* field = invalidField(why)) {
        ShowMessage(this, {QStringLiteral("Attention..."),
                           QStringLiteral("Please make sure all the fields have valid values.") +
                               QStringLiteral("\n\n") + why,
                           MsgKind::Critical, false});
        // The cursor where the value must change.
        field->setFocus();
        if (auto* box = qobject_cast<QLineEdit*>(field))
            box->selectAll();
        return;
    }
    SaveSettings();
    accept();
}

void frmConfig::SaveSettings() {
    SettingsBatch batch;
    WriteSetting(key::AutoRecall, flagText(chkRecallWithNativeMode));

    const auto saveSends = [](const OptionPair& pair, const char* valueName,
                              SettingText& variable) {
        const bool notes = pair[0]->isChecked();
        WriteSetting(valueName, notes ? "Midi" : "CC");
        variable = notes ? "MIDI" : "CC";
    };
    saveSends(optJogWheelMidiCC, key::JogWheelSends, state_.strJogWheelMode);
    saveSends(optKnobMidiCC, key::KnobSends, state_.strKnobMode);

    WriteSetting(key::JogWheelLeft, boxText(txtJogWheelLeft));
    WriteSetting(key::JogWheelRight, boxText(txtJogWheelRight));
    state_.intJogWheelLeft = IntegerOfText(boxText(txtJogWheelLeft)).value_or(0);
    state_.intJogWheelRight = IntegerOfText(boxText(txtJogWheelRight)).value_or(0);

    WriteSetting(key::AssignToggled, flagText(chkAssignToggled));
    state_.bAssignToggled = chkAssignToggled->isChecked();
    WriteSetting(key::FixedVelocity, flagText(chkFixedVelocity));
    state_.bFixedVelocity = chkFixedVelocity->isChecked();

    const auto saveMode = [this](const ModeGroup& group) {
        const char* mode = (*group.pair)[0]->isChecked() ? "MIDI" : "CC";
        WriteSetting(group.valueName, mode);
        state_.*group.variable = mode;
    };
    const auto groups = modeGroups();
    saveMode(groups[0]);
    saveMode(groups[1]);

    // A channel out of range leaves the stored one and the running one as they are.
    const std::string channel = cmbGlobalChannel->currentText().toStdString();
    const auto x = NumberOfText(channel);
    const auto c = IntegerOfText(channel);
    if (x && *x <= 16 && c && *c >= 1) {
        WriteSetting(key::GlobalChannel, channel);
        state_.intMidiChannel = static_cast<int16_t>(*c - 1);
    }

    for (size_t i = 2; i < groups.size(); ++i)
        saveMode(groups[i]);

    WriteSetting(key::FdbPadsAlwaysActive, flagText(chkFdbPadsAlwaysActive));
    state_.bFdbPadsAlwaysActive = chkFdbPadsAlwaysActive->isChecked();
    WriteSetting(key::XYPadTap, flagText(chkXYPadTap));
    state_.bXYPadTap = chkXYPadTap->isChecked();
    const std::string scene = cmbSceneChannel->currentText().toStdString();
    WriteSetting(key::SceneChannel, scene);
    ApplySettingText(*FindConfigKey(key::SceneChannel), scene, state_);
    repeatRows.save(state_);
}

// The values of a first run; they are stored only when "Okay" confirms them.
void frmConfig::btnRestoreDefaults_Click() {
    chkRecallWithNativeMode->setChecked(true);
    cmbSceneChannel->setCurrentIndex(0);
    showChannel(QString::number(kFirstRunChannel));
    txtJogWheelLeft->setText(QString::number(kFirstRunJogWheelLeft));
    txtJogWheelRight->setText(QString::number(kFirstRunJogWheelRight));
    optJogWheelMidiCC[0]->setChecked(true);
    optKnobMidiCC[0]->setChecked(true);
    for (const ModeGroup& group : modeGroups())
        (*group.pair)[0]->setChecked(true);
    for (QCheckBox* box : {chkFdbPadsAlwaysActive, chkAssignToggled, chkFixedVelocity, chkXYPadTap})
        box->setChecked(false);
    repeatRows.restoreDefaults();
}
