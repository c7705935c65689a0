#include "ui/StatusArea.h"
#include "ui/ElidedLabel.h"
#include "ui/PortPicker.h"
#include "ui/SetupDoctor.h"
#include "ui/StatusTexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>

namespace {
// One row: its caption, and the value beside it, on one line that never wraps.
ElidedLabel* value(QGridLayout* grid, int row, const char* caption, const char* help,
                   int span = 2) {
    auto* label = new QLabel(QString::fromLatin1(caption));
    label->setToolTip(QString::fromUtf8(help));
    grid->addWidget(label, row, 0);
    auto* shown = new ElidedLabel;
    shown->setToolTip(QString::fromUtf8(help));
    grid->addWidget(shown, row, 1, 1, span);
    return shown;
}

const QString kWarningStyle = QStringLiteral("color: #b00020;");

void setText(QLabel* label, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (label->text() != shown)
        label->setText(shown);
}
} // namespace

StatusArea::StatusArea(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    server = value(grid, 0, "JACK server:",
                   "The JACK server Orvan is attached to, its sample rate and period, or that "
                   "Orvan waits for it");
    controller = value(grid, 1, "Controller:",
                       "How the pad controller is connected to Orvan: both ways, one way or not "
                       "at all",
                       1);
    controllerPicker = new PortPicker;
    controllerPicker->setObjectName(QStringLiteral("controllerPicker"));
    controllerPicker->setToolTip(QStringLiteral(
        "Choose the controller's device: both its directions are connected, now and at the next "
        "start"));
    grid->addWidget(controllerPicker, 1, 2);
    daw =
        value(grid, 2, "Music software:",
              "How your music software is connected to Orvan: both ways, one way or not at all", 1);
    dawPicker = new PortPicker;
    dawPicker->setObjectName(QStringLiteral("dawPicker"));
    dawPicker->setToolTip(QStringLiteral(
        "Choose your music software's ports: Orvan's notes go there and its feedback comes "
        "back, now and at the next start"));
    grid->addWidget(dawPicker, 2, 2);
    nativeMode = value(grid, 3, "Native mode:",
                       "Whether the controller is in native mode (press \"Native Mode\"), with "
                       "the bank and the MIDI channel");
    noteRepeat = value(grid, 4, "Note repeat:",
                       "Whether held pads repeat, at which rate, and whose tempo they keep: a "
                       "rolling transport master's, or Orvan's own",
                       1);
    repeatLatch = new QToolButton;
    repeatLatch->setObjectName(QStringLiteral("repeatLatch"));
    repeatLatch->setText(QStringLiteral("Latch"));
    repeatLatch->setCheckable(true);
    repeatLatch->setToolTip(QStringLiteral("Keep note repeat on without holding its control"));
    grid->addWidget(repeatLatch, 4, 2);
    dropped = value(grid, 5, "Dropped:", "Messages lost or merged on the way, and why");
    lastIn = value(grid, 6, "Last in:", "The last message Orvan was given");
    lastOut = value(grid, 7, "Last out:", "The last message Orvan sent");
    auto* sceneLabel = new QLabel(QStringLiteral("Scene:"));
    grid->addWidget(sceneLabel, 8, 0);
    scenePicker = new QComboBox;
    scenePicker->setObjectName(QStringLiteral("scenePicker"));
    scenePicker->setPlaceholderText(QStringLiteral("none: built-in numbers"));
    scenePicker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    scenePicker->setMinimumContentsLength(12);
    sceneLabel->setToolTip(QStringLiteral(
        "A scene is a whole setup: what every control sends, the pads' modes of all three banks "
        "and the \"Config\" values. Choose one to switch to it: every note ends first"));
    scenePicker->setToolTip(sceneLabel->toolTip());
    grid->addWidget(scenePicker, 8, 1);
    sceneMenu = new QToolButton;
    sceneMenu->setText(QStringLiteral("Scenes"));
    sceneMenu->setPopupMode(QToolButton::InstantPopup);
    sceneMenu->setToolTip(QStringLiteral("Save, rename, delete, import and export scenes"));
    grid->addWidget(sceneMenu, 8, 2);
    load = value(grid, 9, "Server load:",
                 "How hard the JACK server works, and how many cycles ran late (xruns: a "
                 "moment of sound or MIDI lost) since Orvan started");
    warnings = new ElidedLabel;
    warnings->setStyleSheet(kWarningStyle);
    warnings->setToolTip(QStringLiteral("What stands in the way of a working setup"));
    grid->addWidget(warnings, 10, 0, 1, 3);
    doctor = new QLabel(this);
    doctor->setObjectName(QStringLiteral("setupDoctor"));
    doctor->setWordWrap(true);
    doctor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    doctor->setStyleSheet(
        QStringLiteral("QLabel { background: #fff4d6; border: 1px solid #e0b040; padding: 4px; }"));
    doctor->setToolTip(
        QStringLiteral("How to make this setup work better; select a command to copy "
                       "it"));
    doctor->setVisible(false);
}

void StatusArea::showLink(const LinkStatus& link) {
    setText(server, ServerText(link));
    const bool lost = link.state == LinkStatus::State::Lost;
    server->setStyleSheet(lost ? kWarningStyle : QString());
    setText(controller, ConnectionText(link.controllerFrom, link.controllerTo));
    controllerConnected_ = !link.controllerTo.empty();
    setText(daw, ConnectionText(link.dawFrom, link.dawTo));
    std::string text;
    for (const std::string& warning : link.warnings) {
        if (!text.empty())
            text += '\n';
        text += warning;
    }
    setText(warnings, text);
    std::string hints;
    for (const std::string& hint : SetupHints(link)) {
        if (!hints.empty())
            hints += "\n\n";
        hints += hint;
    }
    setText(doctor, hints);
    doctor->setVisible(!hints.empty());
}

void StatusArea::showEngine(const EngineSnapshot& engine, const DropCounts& drops, bool pending) {
    setText(nativeMode, NativeModeText(engine, controllerConnected_, pending));
    setText(noteRepeat, RepeatText(engine.state));
    setText(dropped, DropsText(drops));
}

void StatusArea::showLast(const std::string& in, const std::string& out) {
    if (!in.empty())
        setText(lastIn, in);
    if (!out.empty())
        setText(lastOut, out);
}

void StatusArea::showLoad(const ServerLoad& shown) {
    setText(load, LoadText(shown));
}
