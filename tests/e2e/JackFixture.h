#pragma once

#include "Peer.h"
#include "SharedServer.h"
#include "Wait.h"

#include "host/jack/JackHost.h"
#include "support/Harness.h"
#include "ui/frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A client name no other client on this machine has: JACK keeps a client's socket under its name
// alone, whatever the server.
std::string UniqueName(const std::string& base);

// The controller (pad_tx, pad_rx) and the music software (song_tx, song_rx), played by two JACK
// clients, "<name>-tx" sending and "<name>-rx" receiving.
struct Peers {
    std::string name;
    std::unique_ptr<Peer> tx;
    std::unique_ptr<Peer> rx;
};
Peers MakePeers(const std::string& server, const std::string& name);
// Options that make Orvan connect itself to the peers named here.
HostOptions OptionsFor(const std::string& server, const std::vector<std::string>& peerNames);

// The three messages that put the controller into native mode, as they arrive.
extern const std::vector<Bytes> kEntryMessages;

// Settings under which pads, knobs, the jog wheel and the bank buttons all send notes.
ControllerSettings AllNotes();

// A JackHost on the shared server, connected to the peers, its input on, its engine set to
// AllNotes().
class JackHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void openHost(const HostOptions& options);
    // Polls the host while waiting.
    bool waitFor(const std::function<bool()>& condition);

    Peers peers;
    EngineRunner runner;
    std::unique_ptr<JackHost> host;
};

// The main window on a JackHost, its message boxes answered by the test.
class JackWindow {
public:
    explicit JackWindow(const HostOptions& options);

    frmMain& main() { return *main_; }
    JackHost& host() { return *host_; }
    EngineRunner& runner() { return runner_; }
    MessageAnswers& messages() { return messages_; }
    // The engine's newest state, once the window has looked.
    const EngineSnapshot& snapshot();
    void release() { main_.reset(); }

private:
    MessageAnswers messages_;
    EngineRunner runner_;
    JackHost* host_ = nullptr;
    std::unique_ptr<frmMain> main_;
};

// Texts of the items of a list box.
std::vector<std::string> Items(class QListWidget* list);
