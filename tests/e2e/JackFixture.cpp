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

void JackHostTest::SetUp() {
    peers = MakePeers(SharedServer().name(), UniqueName("peer"));
}

void JackHostTest::TearDown() {
    host.reset();
    peers = {};
}

void JackHostTest::openHost(const HostOptions& options) {
    host = std::make_unique<JackHost>(options);
    MidiHost::Events events;
    events.SysExInput = [this](const std::string& text) { sysEx.push_back(text); };
    events.MidiInput = [this](int32_t, int32_t port, int32_t status, int32_t d1, int32_t d2) {
        midi.push_back(std::to_string(port) + " " + std::to_string(status) + " " +
                       std::to_string(d1) + " " + std::to_string(d2));
    };
    events.StopInputRequest = [this] { ++stops; };
    host->setEvents(std::move(events));
    host->HostInputCapture(1);
    host->HostInputEvents(1);
}

JackWindow::JackWindow(const HostOptions& options) {
    main_ = std::make_unique<frmMain>([this, options]() -> std::unique_ptr<MidiHost> {
        auto host = std::make_unique<JackHost>(options);
        host_ = host.get();
        return host;
    });
    main_->Form_Load();
}

std::vector<std::string> Items(QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->item(i)->text().toStdString());
    return items;
}
