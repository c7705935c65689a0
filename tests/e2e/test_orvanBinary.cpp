#include "JackFixture.h"
#include "MidiClients.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {
std::vector<std::string> orvan(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{ORVAN_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

const std::vector<std::string> kOffscreen = {"QT_QPA_PLATFORM=offscreen"};
} // namespace

// The real program: "--native-mode" puts the three entry messages on controller_out, exactly and
// in order; a replugged controller gets them again; SIGTERM closes it cleanly.
TEST(OrvanBinary, NativeModeOptionSendsTheEntryMessages) {
    const std::string server = SharedServer().name();
    Peers peers = MakePeers(server, UniqueName("pad"));
    const std::string lateName = UniqueName("pad");
    const std::string log = WorkDir() + "/orvan-native.log";
    ChildProcess program(
        orvan({"--server", server, "--client-name", UniqueName("orvan-bin"), "--controller",
               "^(" + peers.name + "|" + lateName + ")-(tx|rx):pad_", "--native-mode"}),
        kOffscreen, log);

    ASSERT_TRUE(WaitUntil([&] {
        return peers.rx->received("pad_rx").size() >= 3 || !program.running();
    })) << ReadFile(log);
    const std::vector<Bytes> got = peers.rx->receivedBytes("pad_rx");
    ASSERT_GE(got.size(), 3u) << ReadFile(log);
    EXPECT_EQ(got[0], HexBytes("f0 42 40 6e 08 00 00 01 F7"));
    EXPECT_EQ(got[1], HexBytes("f0 42 40 6e 08 3f 0a 01 00 00 00 00 00 03 58 58 45 F7"));
    EXPECT_EQ(got[2], HexBytes("f0 42 40 6e 08 3f 2a 00 00 05 05 05 7f 7e 00 00 00 0a 0a 0a 0a 0a "
                               "0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 0a 01 02 03 04 05 06 07 08 09 0a 0b "
                               "0c 0d 0e 0f 10 f7"));

    Peers late = MakePeers(server, lateName);
    ASSERT_TRUE(WaitUntil([&] { return late.rx->received("pad_rx").size() >= 4; }))
        << ReadFile(log);
    const std::vector<Bytes> again = late.rx->receivedBytes("pad_rx");
    EXPECT_EQ(std::vector<Bytes>(again.begin(), again.begin() + 3),
              std::vector<Bytes>(got.begin(), got.begin() + 3));
    // Then the LED packet: head, five LED bytes, 00, three display bytes, F7.
    ASSERT_EQ(again[3].size(), 18u);
    EXPECT_EQ(Bytes(again[3].begin(), again[3].begin() + 8), HexBytes("F0 42 40 6E 08 3F 0A 01"));
    EXPECT_EQ(again[3].back(), 0xF7);

    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);
}

// SIGTERM while a pad is held and knob pulses nest and wait: every note switched on is switched
// off before the program ends, and it ends as its close box does (status 0).
TEST(OrvanBinary, SigtermDuringPulsesLeavesNoNoteSounding) {
    const std::string server = SharedServer().name();
    Peers peers = MakePeers(server, UniqueName("pad"));
    const std::string log = WorkDir() + "/orvan-sigterm.log";
    ChildProcess program(orvan({"--server", server, "--client-name", UniqueName("orvan-bin"),
                                "--controller", "^" + peers.name + "-(tx|rx):pad_", "--daw",
                                "^" + peers.name + "-(tx|rx):song_", "--native-mode"}),
                         kOffscreen, log);
    ASSERT_TRUE(WaitUntil([&] {
        return peers.rx->received("pad_rx").size() >= 5 || !program.running();
    })) << ReadFile(log);
    const size_t before = peers.rx->received("song_rx").size();
    std::vector<Peer::Event> turns{{"pad_tx", HexBytes("F0 42 40 6E 08 45 43 64 F7")}};
    for (uint8_t value = 1; value <= 20; ++value)
        turns.push_back({"pad_tx", Bytes{0xF0, 0x42, 0x40, 0x6E, 0x08, 0x49, 0x00,
                                         static_cast<uint8_t>(value * 5), 0xF7}});
    peers.tx->send(turns);
    ASSERT_TRUE(WaitUntil([&] { return peers.rx->received("song_rx").size() > before; }));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);
    ASSERT_TRUE(peers.rx->settle());
    std::array<int, 128> sounding{};
    for (const Bytes& m : peers.rx->receivedBytes("song_rx"))
        if (m.size() == 3 && m[0] == 0x90)
            sounding[m[1]] += m[2] > 0 ? 1 : -1;
    for (int note = 0; note < 128; ++note)
        EXPECT_EQ(sounding[note], 0) << "note " << note;
    EXPECT_EQ(ReadFile(log).find("has to stop"), std::string::npos) << ReadFile(log);
}

// SIGTERM and SIGINT end Orvan as its close box does, and that now saves the pad assignments
// made in the run, as quitting with "X" does: given with the controller's mode buttons, then
// found in the settings file.
TEST(OrvanBinary, ASignalSavesThePadAssignments) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const std::string server = SharedServer().name();
        Peers peers = MakePeers(server, UniqueName("pad"));
        const std::string config = WorkDir() + "/signal-store-" + std::to_string(signal);
        const std::string log = WorkDir() + "/orvan-signal.log";
        ChildProcess program(
            orvan({"--server", server, "--client-name", UniqueName("orvan-bin"), "--controller",
                   "^" + peers.name + "-(tx|rx):pad_", "--native-mode"}),
            {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config}, log);
        ASSERT_TRUE(WaitUntil([&] {
            return peers.rx->received("pad_rx").size() >= 5 || !program.running();
        })) << ReadFile(log);
        // TOGGLE held over pad 9, then CN1 held over pad 1.
        for (const char* report :
             {"48 00 7F", "45 48 64", "48 00 00", "48 01 7F", "45 40 64", "48 01 00"})
            peers.tx->send("pad_tx", HexBytes(std::string("F0 42 40 6E 08 ") + report + " F7"));
        ASSERT_TRUE(peers.tx->settle());
        program.signal(signal);
        EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);
        const std::string stored = ReadFile(config + "/orvan/registry.reg");
        for (const char* value : {"\"PadMode_1_09\"=\"TOGGLE\"", "\"PadMode_1_01\"=\"CN1\"",
                                  "\"PadMode_3_16\"=\"FLASH\""})
            EXPECT_NE(stored.find(value), std::string::npos) << value << "\n" << stored;
    }
}

// A scene file given at start plays its mapping as its comments say; a refused one ends Orvan
// with status 2 naming the file, line and key.
TEST(OrvanBinary, AStartSceneFromAFilePlaysItsMapping) {
    const std::string server = SharedServer().name();
    Peers peers = MakePeers(server, UniqueName("pad"));
    const std::string scene = WorkDir() + "/kit-a.toml";
    {
        std::ofstream(scene) << "name = \"Kit A\"\nchannel = 10\n[bank1]\npad1 = { note = 36 }\n"
                                "pad2 = { note = 38, velocity = \"fixed 100\" }\n"
                                "pad4 = { program = 5 }\n";
    }
    const std::string log = WorkDir() + "/orvan-scene.log";
    const std::string config = WorkDir() + "/scene-store";
    ChildProcess program(
        orvan({"--server", server, "--client-name", UniqueName("orvan-bin"), "--controller",
               "^" + peers.name + "-(tx|rx):pad_", "--daw", "^" + peers.name + "-(tx|rx):song_",
               "--scene", scene, "--native-mode"}),
        {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config}, log);
    ASSERT_TRUE(WaitUntil([&] {
        return peers.rx->received("pad_rx").size() >= 5 || !program.running();
    })) << ReadFile(log);
    for (const char* report : {"45 40 64", "45 00 00", "45 41 32", "45 43 10"})
        peers.tx->send("pad_tx", HexBytes(std::string("F0 42 40 6E 08 ") + report + " F7"));
    ASSERT_TRUE(WaitUntil([&] { return peers.rx->received("song_rx").size() >= 6; }))
        << ReadFile(log);
    // Native mode's bank pulse first, on the scene's channel.
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"),
              (std::vector<Bytes>{HexBytes("99 10 7F"), HexBytes("99 10 00"), HexBytes("99 24 64"),
                                  HexBytes("99 24 00"), HexBytes("99 26 64"), HexBytes("C9 05")}));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);

    { std::ofstream(scene) << "[bank1]\npad1 = { note = 128 }\n"; }
    ChildProcess refused(orvan({"--server", server, "--scene", scene}),
                         {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config}, log);
    EXPECT_EQ(refused.waitExit(kLongWait), 2);
    EXPECT_NE(ReadFile(log).find(scene + ":2: bank1.pad1.note:"), std::string::npos)
        << ReadFile(log);
}

TEST(OrvanBinary, WithoutAServerItNamesTheServerAndEnds) {
    const std::string missing = "orvan-test-absent-" + std::to_string(getpid());
    const std::string log = WorkDir() + "/orvan-absent.log";
    ChildProcess program(orvan({"--server", missing}), kOffscreen, log);
    EXPECT_EQ(program.waitExit(kLongWait), 1);
    EXPECT_NE(ReadFile(log).find("\"" + missing + "\""), std::string::npos) << ReadFile(log);
}

// Among them a server name longer than JACK takes (libjack would overrun its buffers), from the
// command line or from the environment, a client name with the ':' of port names and a pattern
// that is no regular expression.
TEST(OrvanBinary, ABadOptionShowsTheUsageAndEnds) {
    const std::string longName(270, 's');
    const struct {
        std::vector<std::string> arguments;
        std::string environment;
    } cases[] = {{{"--no-such-option"}, ""},
                 {{"--server", longName}, ""},
                 {{}, "JACK_DEFAULT_SERVER=" + longName},
                 {{"--client-name", "a:b"}, ""},
                 {{"--controller", "(x"}, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment + ::testing::PrintToString(c.arguments));
        const std::string log = WorkDir() + "/orvan-bad-option.log";
        std::vector<std::string> environment = kOffscreen;
        if (!c.environment.empty())
            environment.push_back(c.environment);
        ChildProcess program(orvan(c.arguments), environment, log);
        EXPECT_EQ(program.waitExit(kLongWait), 2);
        EXPECT_NE(ReadFile(log).find("Usage: orvan"), std::string::npos) << ReadFile(log);
    }
}

// SIGTERM while Orvan is still starting (its ports are there, its window not yet): it is not
// killed by it, but ends as its close box would, with status 0.
TEST(OrvanBinary, ASignalDuringStartUpEndsItCleanly) {
    const std::string client = UniqueName("orvan-early");
    const std::string log = WorkDir() + "/orvan-early.log";
    jack_client_t* watcher = OpenTestClient(SharedServer().name(), UniqueName("watch"));
    ChildProcess program(orvan({"--server", SharedServer().name(), "--client-name", client}),
                         kOffscreen, log);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return jack_port_by_name(watcher, (client + ":controller_in").c_str()) ||
                   !program.running();
        },
        kLongWait));
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);
    jack_client_close(watcher);
}

// The server dies at once under the running program: it says input has stopped, keeps running,
// and still closes promptly on SIGTERM rather than hanging on the dead server.
TEST(OrvanBinary, AKilledServerLeavesItRunningAndItStillEnds) {
    PrivateServer server("killed");
    Peers peers = MakePeers(server.name(), UniqueName("pad"));
    const std::string log = WorkDir() + "/orvan-killed-server.log";
    ChildProcess program(
        orvan({"--server", server.name(), "--client-name", UniqueName("orvan-bin"), "--controller",
               "^" + peers.name + "-(tx|rx):pad_", "--native-mode"}),
        kOffscreen, log);
    ASSERT_TRUE(WaitUntil([&] {
        return peers.rx->received("pad_rx").size() >= 3 || !program.running();
    })) << ReadFile(log);
    peers = {};
    server.stop(SIGKILL);

    ASSERT_TRUE(WaitUntil([&] {
        return ReadFile(log).find("went away; waiting for it") != std::string::npos ||
               !program.running();
    })) << ReadFile(log);
    EXPECT_TRUE(program.running()) << ReadFile(log);
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);
}

// A server that stops answering (stalled here) while Orvan ends: Orvan gives its clients up after
// the bound and ends anyway, as its close box would have.
TEST(OrvanBinary, AStalledServerDoesNotHoldItsEnding) {
    PrivateServer server("stalled");
    auto peers = std::make_unique<Peers>(MakePeers(server.name(), UniqueName("pad")));
    const std::string log = WorkDir() + "/orvan-stalled-server.log";
    ChildProcess program(
        orvan({"--server", server.name(), "--client-name", UniqueName("orvan-bin"), "--controller",
               "^" + peers->name + "-(tx|rx):pad_", "--native-mode"}),
        kOffscreen, log);
    ASSERT_TRUE(WaitUntil([&] { return peers->rx->received("pad_rx").size() >= 3; }))
        << ReadFile(log);
    peers.reset(); // up and running; the peers leave while the server still answers
    server.signal(SIGSTOP);
    program.signal(SIGTERM);
    const std::optional<int> status = program.waitExit(std::chrono::seconds(5));
    server.signal(SIGCONT);
    EXPECT_EQ(status, 0) << ReadFile(log);
    EXPECT_NE(ReadFile(log).find("ending anyway"), std::string::npos) << ReadFile(log);
    server.stop(SIGKILL); // a stalled jackd does not end on SIGTERM
}

// A new user's settings file with note repeat on the pedal at 1/16 and an own tempo of 120: pedal
// down, pad 1 held for a second, released, pedal up. The pad's note-ons come exactly 6,000
// frames apart at 48 kHz, each ended before the next, nothing sounds afterwards, and the pedal
// sends nothing of its own.
TEST(OrvanBinary, NoteRepeatOnThePedalKeepsTheOwnTempo) {
    const std::string server = SharedServer().name();
    Peers peers = MakePeers(server, UniqueName("pad"));
    const std::string config = WorkDir() + "/repeat-store";
    std::filesystem::create_directories(config + "/orvan");
    std::ofstream(config + "/orvan/registry.reg")
        << "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
           "\"NoteRepeatControl\"=\"Pedal\"\r\n\"NoteRepeatRate\"=\"1/16\"\r\n"
           "\"OwnTempo\"=\"120\"\r\n";
    const std::string log = WorkDir() + "/orvan-repeat.log";
    ChildProcess program(orvan({"--server", server, "--client-name", UniqueName("orvan-bin"),
                                "--controller", "^" + peers.name + "-(tx|rx):pad_", "--daw",
                                "^" + peers.name + "-(tx|rx):song_", "--native-mode"}),
                         {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config}, log);
    ASSERT_TRUE(WaitUntil([&] {
        return peers.rx->received("pad_rx").size() >= 5 || !program.running();
    })) << ReadFile(log);
    const auto report = [&](const char* bytes) {
        peers.tx->send("pad_tx", HexBytes(std::string("F0 42 40 6E 08 ") + bytes + " F7"));
        ASSERT_TRUE(peers.tx->settle());
    };
    report("47 00 7F");
    report("45 40 64");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    report("45 00 00");
    report("47 00 00");
    ASSERT_TRUE(peers.rx->settle());
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(kLongWait), 0) << ReadFile(log);

    std::vector<uint32_t> ons;
    int sounding = 0;
    for (const Peer::Received& m : peers.rx->received("song_rx")) {
        ASSERT_NE(m.bytes, HexBytes("90 40 7F")) << "the pedal played its note";
        if (m.bytes.size() != 3 || m.bytes[0] != 0x90 || m.bytes[1] != 0x00)
            continue;
        if (m.bytes[2] > 0) {
            EXPECT_EQ(sounding, 0) << "a repeat began before the last one ended";
            ons.push_back(m.frame);
        }
        sounding = m.bytes[2] > 0;
    }
    EXPECT_EQ(sounding, 0);
    // A second of holding, give or take the cycles the reports took to arrive.
    ASSERT_GE(ons.size(), 7u);
    ASSERT_LE(ons.size(), 10u);
    for (size_t i = 1; i < ons.size(); ++i)
        EXPECT_EQ(ons[i] - ons[i - 1], 6000u) << "repeat " << i;
}
