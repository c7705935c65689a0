#include "JackFixture.h"

#include <QListWidget>

#include <unistd.h>

std::string UniqueName(const std::string& base) {
    static int counter = 0;
    return base + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

Peers MakePeers(const std::string& server, const std::string& name) {
    Peers peers;
    peers.name = name;
    peers.tx = std::make_unique<Peer>(
        server, name + "-tx", std::vector<Peer::PortSpec>{{"pad_tx", true}, {"song_tx", true}});
    peers.rx = std::make_unique<Peer>(
        server, name + "-rx", std::vector<Peer::PortSpec>{{"pad_rx", false}, {"song_rx", false}});
    return peers;
}

HostOptions OptionsFor(const std::string& server, const std::vector<std::string>& peerNames) {
    std::string names;
    for (const std::string& name : peerNames)
        names += (names.empty() ? "" : "|") + name;
    HostOptions options;
    options.server = server;
    options.clientName = UniqueName("orvan-e2e");
    options.controllerPorts = "^(" + names + ")-(tx|rx):pad_";
    options.dawPorts = "^(" + names + ")-(tx|rx):song_";
    return options;
}

const std::vector<Bytes> kEntryMessages = {
    HexBytes("F0 42 40 6E 08 00 00 01 F7"),
    HexBytes("F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 03 58 58 45 F7"),
    HexBytes("F0 42 40 6E 08 3F 2A 00 00 05 05 05 7F 7E 00 00 00 0A 0A 0A 0A 0A 0A 0A 0A 0A 0A "
             "0A 0A 0A 0A 0A 0A 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 F7"),
};

ControllerSettings AllNotes() {
    ControllerSettings settings;
    for (SettingText* kind :
         {&settings.strJogWheelMode, &settings.strKnobMode, &settings.strCN1MidiCC,
          &settings.strCN2MidiCC, &settings.strCN3MidiCC, &settings.strFDBMidiCC,
          &settings.strToggleMidiCC, &settings.strFlashMidiCC, &settings.strBankSelectMidiCC,
          &settings.strTRKMidiCC})
        *kind = "MIDI";
    settings.intJogWheelLeft = 40;
    settings.intJogWheelRight = 41;
    return settings;
}

void JackHostTest::SetUp() {
    peers = MakePeers(SharedServer().name(), UniqueName("peer"));
}

void JackHostTest::TearDown() {
    host.reset();
    peers = {};
}

void JackHostTest::openHost(const HostOptions& options) {
    host = std::make_unique<JackHost>(options, runner);
    runner.PostSettings(AllNotes(), std::nullopt);
    host->HostInputCapture(1);
    host->HostInputEvents(1);
}

bool JackHostTest::waitFor(const std::function<bool()>& condition) {
    return WaitUntil([&] {
        host->Poll();
        return condition();
    });
}

JackWindow::JackWindow(const HostOptions& options) {
    main_ = std::make_unique<frmMain>(runner_, [this, options]() -> std::unique_ptr<MidiHost> {
        auto host = std::make_unique<JackHost>(options, runner_);
        host_ = host.get();
        return host;
    });
    main_->Form_Load();
}

const EngineSnapshot& JackWindow::snapshot() {
    main_->RefreshFromHost();
    return main_->Snapshot();
}

std::vector<std::string> Items(QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->item(i)->text().toStdString());
    return items;
}
