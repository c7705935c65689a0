#include "JackFixture.h"

#include "host/LaunchActions.h"

#include <algorithm>

namespace {
const std::vector<Bytes> kEntryMessages = {
    HexBytes("F0 42 40 6E 08 00 00 01 F7"),
    HexBytes("F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 03 58 58 45 F7"),
    HexBytes("F0 42 40 6E 08 3F 2A 00 00 05 05 05 7F 7E 00 00 00 0A 0A 0A 0A 0A 0A 0A 0A 0A 0A "
             "0A 0A 0A 0A 0A 0A 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 F7"),
};
} // namespace

class JackWindowTest : public ::testing::Test {
protected:
    void SetUp() override { peers = MakePeers(SharedServer().name(), UniqueName("peer")); }
    Peers peers;
};

// A replugged controller gets the entry messages again and then the LED packet of the moment.
TEST_F(JackWindowTest, AReturningControllerIsPutBackIntoNativeMode) {
    const std::string lateName = UniqueName("replugged");
    const HostOptions options = OptionsFor(SharedServer().name(), {peers.name, lateName});
    JackWindow window(options);
    LaunchOptions launch;
    launch.host = options;
    launch.nativeMode = true;
    ApplyLaunchOptions(launch, window.main(), window.host());

    ASSERT_TRUE(WaitUntil([&] { return peers.rx->received("pad_rx").size() >= 3; }));
    std::vector<Bytes> first = peers.rx->receivedBytes("pad_rx");
    first.resize(3);
    EXPECT_EQ(first, kEntryMessages);

    Peers late = MakePeers(SharedServer().name(), lateName);
    ASSERT_TRUE(WaitUntil([&] { return late.rx->received("pad_rx").size() >= 4; }));
    ASSERT_TRUE(late.rx->settle());
    std::vector<Bytes> expected = kEntryMessages;
    expected.push_back(HexBytes(window.main().strLedSysEx));
    EXPECT_EQ(late.rx->receivedBytes("pad_rx"), expected);
}

TEST_F(JackWindowTest, APulsedNoteKeepsItsLengthOnTheWire) {
    JackWindow window(OptionsFor(SharedServer().name(), {peers.name}));
    window.main().PulsedMidiOutPut(25, 5);
    ASSERT_TRUE(WaitUntil([&] { return peers.rx->received("song_rx").size() >= 2; }));
    const std::vector<Peer::Received> notes = peers.rx->received("song_rx");
    EXPECT_EQ(notes[0].bytes, (Bytes{0x90, 5, 127}));
    EXPECT_EQ(notes[1].bytes, (Bytes{0x90, 5, 0}));
    EXPECT_GE(notes[1].frame - notes[0].frame, 25u * 48u);
}

// Through the whole chain: controller report in, note out; short message in, controllers out.
TEST_F(JackWindowTest, InputFromEitherSideReachesTheMusicSoftware) {
    JackWindow window(OptionsFor(SharedServer().name(), {peers.name}));
    const auto arrived = [&](const Bytes& message) {
        const std::vector<Bytes> got = peers.rx->receivedBytes("song_rx");
        return std::find(got.begin(), got.end(), message) != got.end();
    };
    // The foot pedal pressed: note 64 on.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 47 00 7F F7"));
    EXPECT_TRUE(WaitUntil([&] { return arrived({0x90, 64, 127}); }));
    // The fixed trigger from the music software: controllers 88 down to 85.
    peers.tx->send("song_tx", HexBytes("90 51 7F"));
    ASSERT_TRUE(WaitUntil([&] { return arrived({0xB0, 85, 127}); }));
    const std::vector<Bytes> got = peers.rx->receivedBytes("song_rx");
    const std::vector<Bytes> trigger(got.end() - 4, got.end());
    EXPECT_EQ(trigger, (std::vector<Bytes>{
                           {0xB0, 88, 127}, {0xB0, 87, 127}, {0xB0, 86, 127}, {0xB0, 85, 127}}));
}

// The server goes away under a running window: the stop notice comes, nothing crashes, and the
// window still closes.
TEST(JackServerLoss, RaisesTheStopNoticeAndClosesCleanly) {
    PrivateServer server("loss");
    Peers peers = MakePeers(server.name(), UniqueName("peer"));
    JackWindow window(OptionsFor(server.name(), {peers.name}));
    peers = {};
    server.stop();

    const auto noticeShown = [&] {
        for (const MessageRequest& shown : window.messages().shown) {
            if (shown.text == QStringLiteral("MIDIOX wants to terminate MIDI Input"))
                return true;
        }
        return false;
    };
    ASSERT_TRUE(WaitUntil(noticeShown));
    PumpEvents();
    EXPECT_EQ(window.messages().shown.size(), 1u);
    EXPECT_FALSE(window.main().Ending());

    window.main().SendNote(3, 100);
    window.main().btnInitNativeMode_Click();
    EXPECT_EQ(window.host().HostOpenMidiInFirst(), "");
    window.main().close();
    window.release();
}
