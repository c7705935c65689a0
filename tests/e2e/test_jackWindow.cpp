#include "JackFixture.h"

#include "ui/StatusArea.h"

#include <QLabel>

#include <algorithm>

namespace {
// Every note that was switched on was switched off again, as often.
bool everyNoteEnded(const std::vector<Bytes>& messages) {
    std::array<int, 128> sounding{};
    for (const Bytes& m : messages)
        if (m.size() == 3 && (m[0] & 0xF0) == 0x90)
            sounding[m[1]] += m[2] > 0 ? 1 : -1;
    return std::all_of(sounding.begin(), sounding.end(), [](int n) { return n == 0; });
}
} // namespace

class JackWindowTest : public ::testing::Test {
protected:
    void SetUp() override { peers = MakePeers(SharedServer().name(), UniqueName("peer")); }
    Peers peers;
};

// In native mode, a replugged controller gets the entry messages again and then the LED packet
// of the moment.
TEST_F(JackWindowTest, AReturningControllerIsPutBackIntoNativeMode) {
    const std::string lateName = UniqueName("replugged");
    JackWindow window(OptionsFor(SharedServer().name(), {peers.name, lateName}));
    window.main().RunEvent([&] { window.main().btnInitNativeMode_Click(); });
    ASSERT_TRUE(WaitUntil([&] { return peers.rx->received("pad_rx").size() >= 5; }));
    std::vector<Bytes> first = peers.rx->receivedBytes("pad_rx");
    first.resize(3);
    EXPECT_EQ(first, kEntryMessages);

    Peers late = MakePeers(SharedServer().name(), lateName);
    ASSERT_TRUE(WaitUntil([&] { return late.rx->received("pad_rx").size() >= 4; }));
    ASSERT_TRUE(late.rx->settle());
    std::vector<Bytes> expected = kEntryMessages;
    expected.push_back(HexBytes(window.snapshot().state.strLedSysEx.str()));
    EXPECT_EQ(late.rx->receivedBytes("pad_rx"), expected);
}

// Closing the window while knob pulses nest and wait: every pulse in flight still ends with its
// note-off, and the ending is a clean one.
TEST_F(JackWindowTest, ClosingDuringPulsesLeavesNoNoteSounding) {
    auto window = std::make_unique<JackWindow>(OptionsFor(SharedServer().name(), {peers.name}));
    window->runner().PostSettings(AllNotes(), std::nullopt);
    std::vector<Peer::Event> turns;
    for (uint8_t value = 1; value <= 20; ++value)
        turns.push_back({"pad_tx", Bytes{0xF0, 0x42, 0x40, 0x6E, 0x08, 0x49, 0x00,
                                         static_cast<uint8_t>(value * 5), 0xF7}});
    peers.tx->send(turns);
    ASSERT_TRUE(WaitUntil([&] { return !peers.rx->received("song_rx").empty(); }));
    window->main().close();
    EXPECT_FALSE(window->main().Ending());
    window.reset();
    ASSERT_TRUE(peers.rx->settle());
    const std::vector<Bytes> notes = peers.rx->receivedBytes("song_rx");
    EXPECT_GE(notes.size(), 2u);
    EXPECT_TRUE(everyNoteEnded(notes)) << notes.size() << " messages";
}

// The server goes away under a running window: the stop notice comes, nothing crashes, and the
// window still closes.
TEST(JackServerLoss, SaysSoWithoutABoxAndClosesCleanly) {
    PrivateServer server("loss");
    Peers peers = MakePeers(server.name(), UniqueName("peer"));
    JackWindow window(OptionsFor(server.name(), {peers.name}));
    peers = {};
    server.stop();

    QLabel* said = window.main().statusArea->server;
    ASSERT_TRUE(WaitUntil([&] { return said->text().contains(QStringLiteral("lost")); }));
    EXPECT_TRUE(said->styleSheet().contains(QStringLiteral("color")));
    EXPECT_TRUE(window.messages().shown.empty()); // nothing a player would have to click away
    EXPECT_FALSE(window.main().Ending());

    window.main().RunEvent([&] { window.main().btnInitNativeMode_Click(); });
    EXPECT_EQ(window.host().HostOpenMidiInFirst(), "");
    window.main().close();
    EXPECT_FALSE(window.main().Ending());
    window.release();
}
