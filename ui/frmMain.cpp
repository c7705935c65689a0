#include "ui/frmMain.h"
#include "host/EngineRunner.h"
#include "settings/SettingKeys.h"
#include "settings/StoreNotices.h"
#include "settings/mSettings.h"
#include "ui/ControllerView.h"
#include "ui/FitToText.h"
#include "ui/MappingEditor.h"
#include "ui/MessageBox.h"
#include "ui/MidiMonitor.h"
#include "ui/MonitorWords.h"
#include "ui/PadKeys.h"
#include "ui/PortChoices.h"
#include "ui/PortPicker.h"
#include "ui/StatusArea.h"
#include "ui/StatusTexts.h"
#include "ui/frmConfig.h"
#include "ui/frmInfo.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>
#include <utility>

namespace {
QListWidget* labelledList(QGridLayout* grid, int row, int column, const char* label,
                          const char* help) {
    auto* caption = new QLabel(QString::fromLatin1(label));
    caption->setToolTip(QString::fromLatin1(help));
    grid->addWidget(caption, row, column);
    auto* list = new QListWidget;
    list->setMinimumHeight(40); // a few lines: the window fits a small screen
    list->setToolTip(caption->toolTip());
    grid->addWidget(list, row + 1, column);
    return list;
}

QLineEdit* readOnlyField(const QString& text = {}) {
    auto* field = new QLineEdit(text);
    field->setReadOnly(true);
    return field;
}
} // namespace

frmMain::frmMain(EngineRunner& runner, HostFactory createHost, QWidget* parent)
    : QMainWindow(parent), runner_(runner), createHost_(std::move(createHost)) {
    buildWindow();
    // What the settings store must tell the user goes to a message box and standard error.
    SetStoreNoticeHandler([this](const std::string& text) {
        ShowMessage(this, {QStringLiteral("Orvan"), QString::fromStdString(text), MsgKind::Warning,
                           false, true});
    });
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, [this] { RunEvent([this] { RefreshFromHost(); }); });
    // The server's load changes all the time; once a second is enough to read it.
    loadTimer_.setInterval(1000);
    connect(&loadTimer_, &QTimer::timeout, this, [this] {
        if (mWire)
            statusArea->showLoad(mWire->Load());
    });
}

frmMain::~frmMain() {
    SetStoreNoticeHandler(nullptr);
    if (!bUnloaded_) {
        try {
            Form_Unload();
        } catch (const std::exception&) {
            // The window is going away; the host is released below whatever it answered.
        }
    }
}

void frmMain::buildWindow() {
    setWindowTitle(QStringLiteral("Orvan"));
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);

    // The server's version, this Orvan's instance on it, and whether it is attached now.
    auto* top = new QHBoxLayout;
    auto* versionLabel = new QLabel(QStringLiteral("JACK server version:"));
    top->addWidget(versionLabel);
    VersionText = readOnlyField();
    top->addWidget(VersionText, 2);
    auto* instanceLabel = new QLabel(QStringLiteral("Instance:"));
    top->addWidget(instanceLabel);
    numInstances = readOnlyField();
    numInstances->setMaximumWidth(48);
    top->addWidget(numInstances);
    Status = readOnlyField(QStringLiteral("Status"));
    top->addWidget(Status, 3);
    versionLabel->setToolTip(QStringLiteral("The JACK library Orvan runs on"));
    VersionText->setToolTip(versionLabel->toolTip());
    instanceLabel->setToolTip(QStringLiteral(
        "Which Orvan this is on the server: 1 for the client \"orvan\", 2 for \"orvan-01\" "
        "and so on"));
    numInstances->setToolTip(instanceLabel->toolTip());
    Status->setToolTip(QStringLiteral("Whether Orvan is attached to the JACK server now"));
    layout->addLayout(top);

    statusArea = new StatusArea;
    layout->addWidget(statusArea);
    statusArea->controllerPicker->chosen = [this](const std::string& pattern) {
        RunEvent([this, pattern] { choosePorts(true, pattern); });
    };
    statusArea->dawPicker->chosen = [this](const std::string& pattern) {
        RunEvent([this, pattern] { choosePorts(false, pattern); });
    };
    connect(statusArea->repeatLatch, &QToolButton::toggled, this, [this](bool on) {
        RunEvent([this, on] {
            if (!runner_.PostRepeatLatch(on))
                throw HostError("the engine takes no more commands");
        });
    });

    // The device lists fold away: the choosers above do their work, and the view and the
    // monitor get the room.
    btnLists = new QToolButton;
    btnLists->setText(QStringLiteral("Device lists"));
    btnLists->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnLists->setArrowType(Qt::RightArrow);
    btnLists->setCheckable(true);
    btnLists->setAutoRaise(true);
    btnLists->setToolTip(QStringLiteral(
        "Show or hide the MIDI ports of the other clients and those connected to Orvan"));
    layout->addWidget(btnLists, 0, Qt::AlignLeft);
    auto* listsPane = new QWidget;
    auto* lists = new QGridLayout(listsPane);
    lists->setContentsMargins(0, 0, 0, 0);
    ListSysMidiIn = labelledList(lists, 0, 0, "System MIDI In Devices",
                                 "MIDI ports of the other clients that send (inputs for Orvan)");
    ListSysMidiOut = labelledList(lists, 0, 1, "System MIDI Out Devices",
                                  "MIDI ports of the other clients that receive");
    ListOpenMidiIn =
        labelledList(lists, 2, 0, "Open MIDI In Devices", "Ports connected to Orvan's inputs");
    ListOpenMidiOut = labelledList(lists, 2, 1, "Open MIDI Out Devices",
                                   "Ports Orvan's outputs are connected to");
    listsPane->setVisible(false);
    layout->addWidget(listsPane);
    // In the room below the rows: a hint that comes or goes moves none of them.
    layout->addWidget(statusArea->doctor);
    layout->addStretch(1);
    const int listsAt = layout->indexOf(listsPane);
    connect(btnLists, &QToolButton::toggled, this, [this, listsPane, layout, listsAt](bool shown) {
        btnLists->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
        listsPane->setVisible(shown);
        // Folded, the room goes below the controls instead.
        layout->setStretch(listsAt, shown ? 1 : 0);
        layout->setStretch(listsAt + 2, shown ? 0 : 1);
    });

    auto* bottom = new QHBoxLayout;
    btnInitNativeMode = new QPushButton(QStringLiteral("Native Mode"));
    btnInitNativeMode->setMinimumHeight(48);
    bottom->addWidget(btnInitNativeMode);
    btnMapping = new QToolButton;
    bottom->addWidget(btnMapping, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    btnConfig = new QPushButton(QStringLiteral("Config"));
    btnInfo = new QPushButton(QStringLiteral("Info"));
    btnEnd = new QPushButton(QStringLiteral("X"));
    btnEnd->setFixedWidth(32);
    btnInitNativeMode->setToolTip(QStringLiteral(
        "Switch the controller into native mode: Orvan then reads every pad and button and "
        "drives the LEDs and the display"));
    btnConfig->setToolTip(QStringLiteral(
        "Settings: MIDI channel, what each pad mode sends, jog wheel values and more"));
    btnInfo->setToolTip(QStringLiteral("About Orvan"));
    btnEnd->setToolTip(QStringLiteral("Quit Orvan (asks first; keeps your pad assignments)"));
    FitToText(btnConfig);
    FitToText(btnInfo);
    for (QPushButton* small : {btnConfig, btnInfo, btnEnd})
        bottom->addWidget(small, 0, Qt::AlignBottom);
    layout->addLayout(bottom);

    // Beside the controls: the controller as it shows and plays, and what goes in and out.
    controllerView = new ControllerView;
    controllerView->setInputSink([this](std::vector<uint8_t> bytes) {
        RunEvent([this, &bytes] {
            wake();
            if (!runner_.PostInput(bytes.data(), bytes.size()))
                throw HostError("the engine takes no more input from the screen");
        });
    });
    new PadKeys(this, controllerView);
    midiMonitor = new MidiMonitor;
    buildEditor();
    auto* viewAndEditor = new QSplitter(Qt::Horizontal);
    viewAndEditor->addWidget(controllerView);
    viewAndEditor->addWidget(mappingEditor);
    viewAndEditor->setStretchFactor(0, 1);
    viewAndEditor->setChildrenCollapsible(false);
    seeAndPlay_ = new QSplitter(Qt::Vertical);
    seeAndPlay_->addWidget(viewAndEditor);
    seeAndPlay_->addWidget(midiMonitor);
    panes_ = new QSplitter(Qt::Horizontal);
    panes_->addWidget(central);
    panes_->addWidget(seeAndPlay_);
    panes_->setStretchFactor(1, 1);
    for (QSplitter* splitter : {panes_, seeAndPlay_})
        splitter->setChildrenCollapsible(false);
    setCentralWidget(panes_);

    auto onClick = [this](QAbstractButton* button, void (frmMain::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { RunEvent([this, handler] { (this->*handler)(); }); });
    };
    onClick(btnInitNativeMode, &frmMain::btnInitNativeMode_Click);
    onClick(btnConfig, &frmMain::btnConfig_Click);
    onClick(btnInfo, &frmMain::btnInfo_Click);
    onClick(btnEnd, &frmMain::btnEnd_Click);
    buildSceneMenu();
}

void frmMain::Form_Load() {
    mWire = createHost_();
    MidiHost::Events events;
    events.StopInputRequest = [this] { RunEvent([this] { mWire_StopInputRequest(); }); };
    events.GraphChanged = [this] { RunEvent([this] { RefreshLink(); }); };
    events.Reattached = [this] { RunEvent([this] { mWire_Reattached(); }); };
    mWire->setEvents(std::move(events));
    snapshot_ = EngineSnapshot{};
    showAll_ = true;
    RefreshFromHost();

    EnumMidiIO();
    rememberedPorts();
    showLink();
    // The button ids, the LED packet and the "FLASH" pads are the engine's start-up state.
    RestoreSettings();
    LoadFdbPadsAlwaysActive();
    sendSettings();
    resumeScene();
    Wire().HostInputCapture(1);
    Wire().HostInputEvents(1);
    restoreLayout();
    controllerView->setFocus(); // not the top row's first box: the view is what one plays
    refresh_.start();
    statusArea->showLoad(Wire().Load());
    loadTimer_.start();
}

void frmMain::EnumMidiIO() {
    VersionText->setText(QString::fromStdString(Wire().HostVersion()));
    VersionText->setCursorPosition(0);
    Wire().HostInstanceQuery();
    showInstance();
    fillLists();
}

void frmMain::showInstance() {
    numInstances->setText(QString::number(Wire().HostInstanceNumber()));
    showAttachment(Wire().Link());
}

// Said as it is at every moment: attached, waiting for the server or lost.
void frmMain::showAttachment(const LinkStatus& link) {
    const QString text = QString::fromStdString(AttachmentText(link));
    if (Status->text() == text)
        return;
    Status->setText(text);
    Status->setCursorPosition(0); // a narrow box shows the start of its text
}

void frmMain::fillLists() {
    using Enum = std::string (MidiHost::*)();
    const struct {
        QListWidget* list;
        Enum first;
        Enum next;
    } sources[] = {
        {ListSysMidiIn, &MidiHost::HostSysMidiInFirst, &MidiHost::HostSysMidiInNext},
        {ListSysMidiOut, &MidiHost::HostSysMidiOutFirst, &MidiHost::HostSysMidiOutNext},
        {ListOpenMidiIn, &MidiHost::HostOpenMidiInFirst, &MidiHost::HostOpenMidiInNext},
        {ListOpenMidiOut, &MidiHost::HostOpenMidiOutFirst, &MidiHost::HostOpenMidiOutNext},
    };
    for (const auto& source : sources) {
        source.list->clear();
        for (std::string name = (Wire().*source.first)(); !name.empty();
             name = (Wire().*source.next)())
            source.list->addItem(QString::fromStdString(name));
    }
}

void frmMain::RefreshLink() {
    fillLists();
    showLink();
}

void frmMain::showLink() {
    LinkStatus link = Wire().Link();
    link.warnings.insert(link.warnings.begin(), settingWarnings_.begin(), settingWarnings_.end());
    statusArea->showLink(link);
    showAttachment(link);
    const auto both = [](std::vector<std::string> from, const std::vector<std::string>& to) {
        from.insert(from.end(), to.begin(), to.end());
        return from;
    };
    statusArea->controllerPicker->fill(PortChoices(link.ports, both(link.dawFrom, link.dawTo)),
                                       link.controllerPattern);
    statusArea->dawPicker->fill(
        PortChoices(link.ports, both(link.controllerFrom, link.controllerTo)), link.dawPattern);
}

// The ports chosen last time, unless the command line names others for this run. A remembered
// pattern the host refuses is said and left out for the run: it must not stop every start.
void frmMain::rememberedPorts() {
    const LinkStatus link = Wire().Link();
    const struct {
        const char* setting;
        bool given;
        void (MidiHost::*set)(const std::string&);
    } sides[] = {
        {key::ControllerPorts, !link.controllerPattern.empty(), &MidiHost::SetControllerPorts},
        {key::DawPorts, !link.dawPattern.empty(), &MidiHost::SetDawPorts},
    };
    for (const auto& side : sides) {
        const std::string pattern = ReadSetting(side.setting);
        if (side.given || pattern.empty())
            continue;
        try {
            (Wire().*side.set)(pattern);
        } catch (const HostError& error) {
            const std::string text = std::string("The remembered setting \"") + side.setting +
                                     "\" is not used in this run: " + error.what();
            std::fprintf(stderr, "orvan: %s\n", text.c_str());
            settingWarnings_.push_back(text);
        }
    }
}

// A choice connects both directions now, and is the one used at the next start.
void frmMain::choosePorts(bool controller, const std::string& pattern) {
    if (controller) {
        Wire().SetControllerPorts(pattern);
        WriteSetting(key::ControllerPorts, pattern);
    } else {
        Wire().SetDawPorts(pattern);
        WriteSetting(key::DawPorts, pattern);
    }
    RefreshLink();
}

// The snapshot first: the host's events are answered from the engine's newest state.
// Idle, it does nothing but look: the window is drawn anew only when what it shows changed, and
// it looks less often until something does.
void frmMain::RefreshFromHost() {
    if (!mWire)
        return;
    bool changed = false;
    if (const EngineSnapshot* newest = runner_.TakeSnapshot()) {
        changed = !ShowsAlike(*newest, snapshot_);
        snapshot_ = *newest;
    }
    std::vector<MonitoredMessage> taken = runner_.TakeMonitored();
    const DropCounts drops = mWire->Drops();
    changed = changed || !taken.empty() || runner_.MonitorOverflow() != monitorOverflow_ ||
              !(drops == shownDrops_) || std::exchange(showAll_, false);
    idleLooks_ = changed ? 0 : idleLooks_ + 1;
    refresh_.setInterval(idleLooks_ > kLooksBeforeIdle ? kIdleRefreshMs : kRefreshMs);
    if (changed)
        showEngine(taken, drops);
    pollHost();
}

void frmMain::wake() {
    idleLooks_ = 0;
    if (refresh_.isActive() && refresh_.interval() != kRefreshMs)
        refresh_.start(kRefreshMs);
}

void frmMain::showEngine(const std::vector<MonitoredMessage>& taken, const DropCounts& drops) {
    shownDrops_ = drops;
    const MonitoredMessage* lastIn = nullptr;
    const MonitoredMessage* lastOut = nullptr;
    for (const MonitoredMessage& message : taken) {
        controllerView->take(message);
        editFrom(message);
        (message.header.sent ? lastOut : lastIn) = &message;
    }
    const uint64_t overflow = runner_.MonitorOverflow();
    midiMonitor->take(taken, snapshot_.state, overflow - monitorOverflow_);
    monitorOverflow_ = overflow;
    const auto words = [this](const MonitoredMessage* message) {
        if (!message)
            return std::string();
        const ByteView bytes(message->bytes.data(), message->kept());
        const MonitoredMessage::Header& h = message->header;
        return (h.sent ? SentWords(h.port, bytes, h.size)
                       : ReceivedWords(bytes, h.size, snapshot_.state))
            .text;
    };
    statusArea->showLast(words(lastIn), words(lastOut));
    statusArea->showEngine(snapshot_, drops, nativePresses_ > snapshot_.nativeEntries);
    controllerView->showState(snapshot_);
    followSceneRequests();
    followRepeatChanges();
}

void frmMain::pollHost() {
    polling_ = true;
    try {
        mWire->Poll();
    } catch (...) {
        polling_ = false;
        releasing_.reset();
        throw;
    }
    polling_ = false;
    releasing_.reset();
}

void frmMain::sendSettings(std::optional<int> tapIntervalMs) {
    wake();
    if (!runner_.PostSettings(settings_, tapIntervalMs))
        throw HostError("the engine takes no more commands");
}

void frmMain::ApplyMapping(const Mapping& mapping) {
    if (!runner_.PostMapping(mapping))
        throw HostError("the engine takes no more commands");
    mapping_ = mapping;
    mappingEditor->setMapping(mapping);
}

void frmMain::btnInitNativeMode_Click() {
    std::optional<PadRecall> recall;
    if (ReadSetting(key::AutoRecall) == "1") {
        recall = RecallPadSettings();
        padsRecalled_ = true;
    }
    wake();
    if (!runner_.PostNativeMode(recall))
        throw HostError("the engine takes no more commands");
    ++nativePresses_;
}

void frmMain::btnConfig_Click() {
    frmConfig dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted)
        sendSettings();
}

void frmMain::btnInfo_Click() {
    frmInfo info(this);
    info.exec();
}

void frmMain::btnEnd_Click() {
    const MsgAnswer answer = ShowMessage(
        this, {QStringLiteral("Orvan"), QStringLiteral("Really Quit?"), MsgKind::Question, true});
    if (answer != MsgAnswer::Yes)
        return;
    // Quitting would lose the pad assignments that could not be kept: the user decides.
    if (!SaveSettings() &&
        ShowMessage(this, {QStringLiteral("Orvan"),
                           QStringLiteral("The pad assignments could not be saved and will be "
                                          "lost. Quit anyway?"),
                           MsgKind::Question, true}) != MsgAnswer::Yes)
        return;
    padsSettled_ = true;
    close();
}

// Releasing the host ends the engine first: every pulse in flight and every note still sounding
// is ended. The pad assignments are saved after that, however the window closes (a signal and
// the window manager close it too); nobody may be there to answer a box, so what goes wrong with
// the settings is said on standard error.
void frmMain::Form_Unload() {
    if (bUnloaded_)
        return;
    bUnloaded_ = true;
    refresh_.stop();
    loadTimer_.stop();
    SetStoreNoticeHandler(nullptr);
    const bool ran = mWire != nullptr;
    // The note-offs it owes first, then the pads it ends with are saved, then the host goes
    // (which may take a while, or be given up on, with a server that stopped answering).
    if (mWire) {
        saveLayout();
        mWire->HostInputEvents(0);
        mWire->HostInputCapture(0);
        mWire->EndEngine();
        if (const EngineSnapshot* newest = runner_.TakeSnapshot())
            snapshot_ = *newest;
    }
    if (ran)
        SavePadsUnasked();
    releaseHost();
}

void frmMain::closeEvent(QCloseEvent* event) {
    RunEvent([this] { Form_Unload(); });
    releaseHost();
    event->accept();
}

// Nothing uses the host after this; one that is raising an event goes once the event is over.
void frmMain::releaseHost() {
    if (polling_)
        releasing_ = std::move(mWire);
    mWire.reset();
}

// The server went away: said in the status area (in red) and on standard error, never in a box
// that would keep Orvan from attaching again until someone clicks it; input stays off until the
// server is back.
void frmMain::mWire_StopInputRequest() {
    const LinkStatus link = Wire().Link();
    std::fprintf(stderr, "orvan: the JACK server \"%s\" went away; waiting for it to come back\n",
                 link.server.c_str());
    Wire().HostInputEvents(0);
}

// Back on the server with what was connected (the host puts the controller back into native mode
// if it was on): input on again.
void frmMain::mWire_Reattached() {
    std::fprintf(stderr, "orvan: the JACK server \"%s\" is back; attached again\n",
                 Wire().Link().server.c_str());
    Wire().HostInputEvents(1);
    showInstance();
}
