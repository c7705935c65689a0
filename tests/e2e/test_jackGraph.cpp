#include "JackFixture.h"

#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace {
bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::vector<std::string> enumerate(JackHost& host, std::string (MidiHost::*first)(),
                                   std::string (MidiHost::*next)()) {
    std::vector<std::string> names;
    for (std::string name = (host.*first)(); !name.empty(); name = (host.*next)())
        names.push_back(name);
    return names;
}
} // namespace

class JackGraph : public JackHostTest {};

TEST_F(JackGraph, ListsOtherClientsPortsAndTheConnectedOnes) {
    openHost(OptionsFor(SharedServer().name(), {peers.name}));
    const auto sysIn =
        enumerate(*host, &MidiHost::HostSysMidiInFirst, &MidiHost::HostSysMidiInNext);
    const auto sysOut =
        enumerate(*host, &MidiHost::HostSysMidiOutFirst, &MidiHost::HostSysMidiOutNext);
    EXPECT_TRUE(contains(sysIn, peers.tx->port("pad_tx")));
    EXPECT_TRUE(contains(sysIn, peers.tx->port("song_tx")));
    EXPECT_FALSE(contains(sysIn, peers.rx->port("pad_rx")));
    EXPECT_TRUE(contains(sysOut, peers.rx->port("pad_rx")));
    EXPECT_TRUE(contains(sysOut, peers.rx->port("song_rx")));
    // Neither of Orvan's two clients is listed.
    for (const auto& list : {sysIn, sysOut})
        for (const auto& name : list)
            EXPECT_NE(name.rfind(host->clientName(), 0), 0u) << name;

    EXPECT_EQ(enumerate(*host, &MidiHost::HostOpenMidiInFirst, &MidiHost::HostOpenMidiInNext),
              (std::vector<std::string>{peers.tx->port("pad_tx"), peers.tx->port("song_tx")}));
    EXPECT_EQ(enumerate(*host, &MidiHost::HostOpenMidiOutFirst, &MidiHost::HostOpenMidiOutNext),
              (std::vector<std::string>{peers.rx->port("pad_rx"), peers.rx->port("song_rx")}));
}

TEST_F(JackGraph, WithoutPatternsNothingIsConnected) {
    HostOptions options = OptionsFor(SharedServer().name(), {peers.name});
    options.controllerPorts.clear();
    options.dawPorts.clear();
    openHost(options);
    EXPECT_EQ(host->HostOpenMidiInFirst(), "");
    EXPECT_EQ(host->HostOpenMidiOutFirst(), "");
}

TEST_F(JackGraph, VersionAndInstanceNumbers) {
    HostOptions options = OptionsFor(SharedServer().name(), {peers.name});
    openHost(options);
    EXPECT_EQ(host->HostVersion(), std::string("JACK ") + jack_get_version_string());
    EXPECT_EQ(host->HostInstanceNumber(), 1);
    EXPECT_EQ(host->HostInstanceQuery(), 1);

    EngineRunner secondRunner;
    JackHost second(options, secondRunner);
    EXPECT_NE(second.clientName(), host->clientName());
    EXPECT_EQ(second.HostInstanceNumber(), 2);
    EXPECT_EQ(second.HostInstanceQuery(), 2);
    EXPECT_EQ(host->HostInstanceQuery(), 2);
}

TEST_F(JackGraph, CloseOnClientExitIsRecorded) {
    openHost(OptionsFor(SharedServer().name(), {peers.name}));
    host->HostCloseOnClientExit(1);
    EXPECT_TRUE(host->closeOnClientExit());
    host->HostCloseOnClientExit(0);
    EXPECT_FALSE(host->closeOnClientExit());
}

// Native mode entered before the controller is there, a pad switched on from the screen, then
// the controller appears: it is connected and put into native mode, showing the pad lit.
TEST_F(JackGraph, ALateControllerIsConnectedAndShownTheStateOfTheMoment) {
    const std::string lateName = UniqueName("late");
    HostOptions options = OptionsFor(SharedServer().name(), {lateName});
    options.dawPorts.clear();
    openHost(options);
    runner.PostNativeMode(std::nullopt);
    for (const char* report : {"48 00 7F", "45 45 40", "48 00 00", "45 45 40"}) // pad 6 TOGGLE, on
        runner.PostInput(HexBytes(std::string("F0 42 40 6E 08 ") + report + " F7").data(), 9);
    ASSERT_TRUE(waitFor([&] { return runner.TakeSnapshot() != nullptr; }));

    Peers late = MakePeers(SharedServer().name(), lateName);
    ASSERT_TRUE(waitFor([&] { return late.rx->received("pad_rx").size() >= 4; }));
    const auto openIn =
        enumerate(*host, &MidiHost::HostOpenMidiInFirst, &MidiHost::HostOpenMidiInNext);
    EXPECT_TRUE(contains(openIn, late.tx->port("pad_tx")));
    EXPECT_FALSE(contains(openIn, late.tx->port("song_tx"))); // no music software pattern
    ASSERT_TRUE(late.rx->settle());
    std::vector<Bytes> expected = kEntryMessages;
    expected.push_back(HexBytes("F0 42 40 6E 08 3F 0A 01 20 00 00 00 10 00 2D 5F 2D F7"));
    EXPECT_EQ(late.rx->receivedBytes("pad_rx"), expected);
}

TEST_F(JackGraph, TheMainWindowShowsTheHostAndItsConnections) {
    JackWindow window(OptionsFor(SharedServer().name(), {peers.name}));
    frmMain& main = window.main();
    EXPECT_EQ(main.VersionText->text().toStdString(),
              std::string("JACK ") + jack_get_version_string());
    EXPECT_EQ(main.Status->text().toStdString(), "Attached as " + main.mWire->Link().client);
    EXPECT_EQ(Items(main.ListOpenMidiIn),
              (std::vector<std::string>{peers.tx->port("pad_tx"), peers.tx->port("song_tx")}));
    EXPECT_EQ(Items(main.ListOpenMidiOut),
              (std::vector<std::string>{peers.rx->port("pad_rx"), peers.rx->port("song_rx")}));
    EXPECT_TRUE(contains(Items(main.ListSysMidiIn), peers.tx->port("pad_tx")));
    EXPECT_TRUE(contains(Items(main.ListSysMidiOut), peers.rx->port("song_rx")));
}
