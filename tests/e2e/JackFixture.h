#pragma once

#include "Peer.h"
#include "PrivateServer.h"
#include "Wait.h"

#include "host/JackHost.h"
#include "host/frmMain.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A name no other client of this run has.
std::string UniqueName(const std::string& base);

// The test client's ports: pad_tx/pad_rx play the controller, song_tx/song_rx the music software.
std::unique_ptr<Peer> MakePeer(const std::string& server, const std::string& name);
// Options that make Orvan connect itself to that peer.
HostOptions OptionsFor(const std::string& server, const Peer& peer);

// A JackHost on the shared server, connected to a peer, recording the events it delivers.
class JackHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void openHost(const HostOptions& options);

    std::unique_ptr<Peer> peer;
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
