// Orvan keeps its link to the server and shows it: the server goes and comes back, ports and
// connections come and go, the user picks the ports.
#include "JackFixture.h"
#include "MidiClients.h"

#include "settings/mSettings.h"
#include "ui/PortPicker.h"
#include "ui/StatusArea.h"

#include <QLabel>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <functional>
#include <thread>

namespace {
bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

HostOptions unconnected(const std::string& server) {
    HostOptions options;
    options.server = server;
    options.clientName = UniqueName("orvan-link");
    return options;
}

std::string shown(QLabel* label) {
    return label->text().toStdString();
}

// Run once just before the next client is opened in this process.
std::function<void(const std::string& name)> beforeNextOpen;
} // namespace

// Every client of this process is opened through here, so that a test can stop the server at
// an exact point of Orvan's attach.
extern "C" jack_client_t* jack_client_open(const char* name, jack_options_t options,
                                           jack_status_t* status, ...) {
    const char* server = nullptr;
    if (options & JackServerName) {
        va_list more;
        va_start(more, status);
        server = va_arg(more, const char*);
        va_end(more);
    }
    if (auto hook = std::exchange(beforeNextOpen, {}))
        hook(name);
    static const auto open =
        reinterpret_cast<jack_client_t* (*)(const char*, jack_options_t, jack_status_t*, ...)>(
            dlsym(RTLD_NEXT, "jack_client_open"));
    return open(name, options, status, server);
}

// The server stops while jog pulses are in flight and starts again: Orvan attaches again,
// connects what was connected (made by hand, no pattern), ends every pulse that was in flight,
// puts the controller back into native mode and answers a pad.
TEST(JackLink, ReattachesReconnectsAndReentersNativeMode) {
    PrivateServer server("reattach");
    const std::string name = UniqueName("peer");
    auto peers = std::make_unique<Peers>(MakePeers(server.name(), name));
    JackWindow window(unconnected(server.name()));
    const std::string client = window.host().clientName();
    const auto wire = [&](const Peers& p) {
        ConnectPorts(p.tx->client(), p.tx->port("pad_tx"), client + ":controller_in");
        ConnectPorts(p.tx->client(), client + ":controller_out", p.rx->port("pad_rx"));
        ConnectPorts(p.tx->client(), client + ":daw_out", p.rx->port("song_rx"));
    };
    wire(*peers);
    window.main().RunEvent([&] { window.main().btnInitNativeMode_Click(); });
    ASSERT_TRUE(WaitUntil([&] { return peers->rx->received("pad_rx").size() >= 5; }));
    ASSERT_TRUE(WaitUntil(
        [&] { return contains(Items(window.main().ListOpenMidiIn), peers->tx->port("pad_tx")); }));

    // A jog step a cycle, faster than its pulse ends: pulses nest, and are in flight when the
    // server stops.
    for (int step = 0; step < 200; ++step)
        peers->tx->send("pad_tx", HexBytes("F0 42 40 6E 08 43 00 7F F7"));
    ASSERT_TRUE(WaitUntil([&] { return peers->rx->received("song_rx").size() >= 40; }));
    server.stop();
    std::vector<Bytes> jog = peers->rx->receivedBytes("song_rx");
    peers.reset();
    // The window lets go of the dead server before anything in this process opens a client
    // again: libjack would clean the dead clients up under it.
    ASSERT_TRUE(WaitUntil([&] { return !window.host().attached(); }));
    EXPECT_EQ(window.host().Link().state, LinkStatus::State::Lost);
    EXPECT_NE(shown(window.main().statusArea->server).find("lost"), std::string::npos);

    server.restart();
    const auto back = std::chrono::steady_clock::now();
    peers = std::make_unique<Peers>(MakePeers(server.name(), name));
    // The pulses' handlers end (the jog wheel's display), then the entry and the state.
    const auto entered = [&] {
        const std::vector<Bytes> got = peers->rx->receivedBytes("pad_rx");
        const auto at =
            std::search(got.begin(), got.end(), kEntryMessages.begin(), kEntryMessages.end());
        return at != got.end() && got.end() - at >= 4;
    };
    ASSERT_TRUE(WaitUntil(entered));
    const std::vector<Bytes> ends = peers->rx->receivedBytes("song_rx");
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.front(), (Bytes{0x90, 40, 0})); // the pulses in flight end first
    jog.insert(jog.end(), ends.begin(), ends.end());
    const auto count = [&jog](uint8_t velocity) {
        return std::count(jog.begin(), jog.end(), Bytes{0x90, 40, velocity});
    };
    EXPECT_LE(count(0x7F), count(0)); // every note-on that went out was ended
    peers->tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 43 64 F7"));
    ASSERT_TRUE(WaitUntil([&] { return peers->rx->receivedBytes("song_rx").back()[1] == 3; }));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - back).count();
    std::printf("reattached, reconnected and answered a pad %.2f s after the server's return\n",
                seconds);
    EXPECT_EQ(peers->rx->receivedBytes("song_rx").back(), (Bytes{0x90, 3, 0x64}));
    EXPECT_NE(shown(window.main().statusArea->server).find("attached"), std::string::npos);
    EXPECT_FALSE(window.main().Ending());
}

// The lists follow the graph: a port appears, is connected, disconnected, and goes. At 1024
// frames a cycle the server shows a change to its clients well after it told them of it.
TEST(JackLink, ListsFollowTheGraph) {
    PrivateServer server("lists", false, 1024);
    JackWindow window(unconnected(server.name()));
    frmMain& main = window.main();
    auto peers = std::make_unique<Peers>(MakePeers(server.name(), UniqueName("late")));
    const std::string port = peers->tx->port("pad_tx");
    EXPECT_TRUE(WaitUntil([&] { return contains(Items(main.ListSysMidiIn), port); }));
    ConnectPorts(peers->tx->client(), port, window.host().clientName() + ":controller_in");
    EXPECT_TRUE(WaitUntil([&] { return contains(Items(main.ListOpenMidiIn), port); }));
    EXPECT_NE(shown(main.statusArea->controller).find("one way"), std::string::npos);
    jack_disconnect(peers->tx->client(), port.c_str(),
                    (window.host().clientName() + ":controller_in").c_str());
    EXPECT_TRUE(WaitUntil([&] { return !contains(Items(main.ListOpenMidiIn), port); }));
    peers.reset();
    EXPECT_TRUE(WaitUntil([&] { return !contains(Items(main.ListSysMidiIn), port); }));
}

// A device with ports both ways: picking it connects both, the status says so, and the choice
// is kept for the next start. A pattern that matches nothing, and a second Orvan on the same
// controller, are warned of.
TEST(JackLink, ThePickerConnectsBothWaysAndWarns) {
    const std::string device = UniqueName("pads");
    Peer pads(SharedServer().name(), device, {{"midi_out", true}, {"midi_in", false}});
    JackWindow window(unconnected(SharedServer().name()));
    frmMain& main = window.main();
    PortPicker& picker = *main.statusArea->controllerPicker;
    int entry = -1;
    for (int i = 0; i < picker.count(); ++i)
        if (picker.itemText(i).contains(QStringLiteral("midi_out + midi_in")) &&
            picker.patternAt(i).find(device) != std::string::npos)
            entry = i;
    ASSERT_GE(entry, 0);
    picker.chosen(picker.patternAt(entry));
    ASSERT_TRUE(
        WaitUntil([&] { return shown(main.statusArea->controller).find("both ways") == 0; }));
    EXPECT_EQ(ReadSetting("ControllerPorts"), picker.patternAt(entry));
    EXPECT_EQ(picker.currentIndex(), entry);

    EngineRunner secondRunner;
    JackHost second(unconnected(SharedServer().name()), secondRunner);
    second.SetControllerPorts(picker.patternAt(entry));
    main.RunEvent([&] { main.RefreshLink(); });
    EXPECT_NE(shown(main.statusArea->warnings).find("Another Orvan (" + second.clientName()),
              std::string::npos);
    main.statusArea->dawPicker->chosen("^nothing-by-this-name:");
    EXPECT_NE(shown(main.statusArea->warnings).find("No port matches the music software pattern"),
              std::string::npos);
    main.statusArea->controllerPicker->chosen("");
    WriteSetting("DawPorts", "");
}

// The remembered patterns are the user's input of an earlier run: one the matcher refuses (or
// that is too long for it) is said, naming the setting, and left out, and the window starts; one
// it takes is used, even one that a backtracking matcher would take seconds over.
TEST(JackLink, RememberedPatternsItCannotUseAreSaidAndLeftOut) {
    Peer xs(SharedServer().name(), UniqueName("long"), {{std::string(27, 'x'), true}});
    const struct {
        std::string controller, daw;
        bool used;
    } cases[] = {
        {"(", "\\", false},
        {"[z-a]", "((a{1000}){1000}){1000}", false},
        {std::string(30000, '(') + std::string(30000, ')'), std::string(900000, 'd'), false},
        {"(x+x+)+y", "^" + xs.name() + ":", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.controller.substr(0, 30) + " " + c.daw.substr(0, 30));
        WriteSetting("ControllerPorts", c.controller);
        WriteSetting("DawPorts", c.daw);
        ::testing::internal::CaptureStderr();
        JackWindow window(unconnected(SharedServer().name()));
        const std::string said = ::testing::internal::GetCapturedStderr();
        const LinkStatus link = window.host().Link();
        EXPECT_EQ(link.controllerPattern, c.used ? c.controller : "");
        EXPECT_EQ(link.dawPattern, c.used ? c.daw : "");
        for (const char* setting : {"ControllerPorts", "DawPorts"}) {
            const std::string told =
                std::string("The remembered setting \"") + setting + "\" is not used in this run";
            EXPECT_EQ(said.find(told) != std::string::npos, !c.used) << said;
            EXPECT_EQ(shown(window.main().statusArea->warnings).find(told) != std::string::npos,
                      !c.used);
        }
    }
    WriteSetting("ControllerPorts", "");
    WriteSetting("DawPorts", "");
}

// Started before its server, the host waits for it and attaches when it comes.
TEST(JackLink, WaitsForAServerThatIsNotThereYet) {
    const std::string suffix = "late-server";
    HostOptions options = unconnected(PrivateServer::nameFor(suffix));
    EngineRunner runner;
    JackHost host(options, runner, true);
    EXPECT_EQ(host.Link().state, LinkStatus::State::Waiting);
    EXPECT_FALSE(host.attached());
    PrivateServer server(suffix);
    EXPECT_TRUE(WaitUntil([&] {
        host.Poll();
        return host.attached();
    }));
    EXPECT_EQ(host.Link().state, LinkStatus::State::Attached);
}

// The server stops between Orvan's two clients. libjack frees the first at the second's open;
// Orvan must not close it again, and waits for the server.
TEST(JackLink, AServerLostBetweenItsTwoClientsLeavesItWaiting) {
    PrivateServer server("between");
    HostOptions options = unconnected(server.name());
    beforeNextOpen = [&](const std::string&) {
        beforeNextOpen = [&](const std::string& name) {
            EXPECT_NE(name.find("-feedback"), std::string::npos);
            server.stop();
            // libjack has to notice first: it frees the lost clients only then.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        };
    };
    EngineRunner runner;
    JackHost host(options, runner, true);
    EXPECT_FALSE(beforeNextOpen);
    EXPECT_FALSE(host.attached());
    EXPECT_EQ(host.Link().state, LinkStatus::State::Waiting);
}
