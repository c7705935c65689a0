#include "JackFixture.h"

#include <QListWidget>

#include <unistd.h>

std::string UniqueName(const std::string& base) {
    static int counter = 0;
    return base + std::to_string(++counter);
}

std::unique_ptr<Peer> MakePeer(const std::string& server, const std::string& name) {
    return std::make_unique<Peer>(
        server, name,
        std::vector<Peer::PortSpec>{
            {"pad_tx", true}, {"pad_rx", false}, {"song_tx", true}, {"song_rx", false}});
}

HostOptions OptionsFor(const std::string& server, const Peer& peer) {
    HostOptions options;
    options.server = server;
    options.clientName = UniqueName("orvan-e2e-");
    options.controllerPorts = "^" + peer.name() + ":pad_";
    options.dawPorts = "^" + peer.name() + ":song_";
    return options;
}

void JackHostTest::SetUp() {
    peer = MakePeer(SharedServer().name(), UniqueName("peer"));
}

void JackHostTest::TearDown() {
    host.reset();
    peer.reset();
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
