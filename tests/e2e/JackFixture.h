#pragma once

#include "Peer.h"
#include "SharedServer.h"
#include "Wait.h"

#include "host/JackHost.h"
#include "host/frmMain.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A client name no other client on this machine has: JACK keeps a client's socket under its name
// alone, whatever the server.
std::string UniqueName(const std::string& base);

// The controller (pad_tx, pad_rx) and the music software (song_tx, song_rx), played by two JACK
// clients, "<name>-tx" sending and "<name>-rx" receiving, so that no connection loops back: in a
// loop, a client that runs late has its output read twice.
struct Peers {
    std::string name;
    std::unique_ptr<Peer> tx;
    std::unique_ptr<Peer> rx;
};
Peers MakePeers(const std::string& server, const std::string& name);
// Options that make Orvan connect itself to the peers named here.
HostOptions OptionsFor(const std::string& server, const std::vector<std::string>& peerNames);

// A JackHost on the shared server, connected to a peer, recording the events it delivers.
class JackHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void openHost(const HostOptions& options);

    Peers peers;
    std::unique_ptr<JackHost> host;
    std::vector<std::string> sysEx; // SysExInput texts
    std::vector<std::string> midi;  // MidiInput as "port status data1 data2"
    int stops = 0;
};

// The main window on a JackHost, its message boxes answered by the test.
class JackWindow {
public:
    explicit JackWindow(const HostOptions& options);

    frmMain& main() { return *main_; }
    JackHost& host() { return *host_; }
    MessageAnswers& messages() { return messages_; }
    void release() { main_.reset(); }

private:
    MessageAnswers messages_;
    JackHost* host_ = nullptr;
    std::unique_ptr<frmMain> main_;
};

// Texts of the items of a list box.
std::vector<std::string> Items(class QListWidget* list);
