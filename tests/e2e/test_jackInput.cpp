// The controller's and the music software's input through a real server into the engine, and
// what the engine answers on controller_out and daw_out.
#include "JackFixture.h"

#include <QCheckBox>

namespace {
const Bytes kPad3Lit = HexBytes("F0 42 40 6E 08 01 43 20 F7");
const Bytes kTrigger[] = {{0xB0, 88, 127}, {0xB0, 87, 127}, {0xB0, 86, 127}, {0xB0, 85, 127}};
} // namespace

class JackInput : public JackHostTest {
protected:
    void SetUp() override {
        JackHostTest::SetUp();
        openHost(OptionsFor(SharedServer().name(), {peers.name}));
    }
    size_t notes() const { return peers.rx->received("song_rx").size(); }
};

// However a report is cut into events and cycles, with realtime bytes inside, it is handled once:
// pad 3 lights and plays its note.
TEST_F(JackInput, AReportPlaysOnceHoweverItIsCut) {
    const std::vector<std::vector<std::string>> deliveries = {
        {"F0 42 40 6E 08 45 43 64 F7"},
        {"F0 42 40 6E", "08 45 43 64 F7"},
        {"F0 42 F8 40 6E", "|", "08 FE 45 43 64 F7"}, // "|": the rest comes a cycle later
    };
    for (const auto& pieces : deliveries) {
        SCOPED_TRACE(pieces.front());
        const size_t before = notes();
        std::vector<Peer::Event> events;
        for (const std::string& piece : pieces) {
            if (piece == "|") {
                peers.tx->send(events);
                ASSERT_TRUE(peers.tx->settle());
                events.clear();
            } else {
                events.push_back({"pad_tx", HexBytes(piece)});
            }
        }
        peers.tx->send(events);
        ASSERT_TRUE(waitFor([&] { return notes() == before + 1; }));
        ASSERT_TRUE(peers.rx->settle());
        EXPECT_EQ(peers.rx->receivedBytes("song_rx").back(), (Bytes{0x90, 3, 0x64}));
        EXPECT_EQ(peers.rx->receivedBytes("pad_rx").back(), kPad3Lit);
        EXPECT_EQ(notes(), before + 1);
    }
}

// Short messages from either side: the music software's trigger note makes four controllers;
// realtime bytes and an unfinished message are skipped.
TEST_F(JackInput, ShortMessagesFromEitherSideAreHandled) {
    peers.tx->send({{"song_tx", HexBytes("F8")}, {"song_tx", HexBytes("90 51")}});
    peers.tx->send("song_tx", HexBytes("90 51 7F"));
    ASSERT_TRUE(waitFor([&] { return notes() >= 4; }));
    peers.tx->send("pad_tx", HexBytes("B0 7E 40")); // the XY pad: controller 125
    ASSERT_TRUE(waitFor([&] { return notes() >= 5; }));
    ASSERT_TRUE(peers.rx->settle());
    const std::vector<Bytes> expected = {
        kTrigger[0], kTrigger[1], kTrigger[2], kTrigger[3], {0xB0, 125, 0x40}};
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"), expected);
}

TEST_F(JackInput, NothingIsHandledWhileInputEventsOrCaptureAreOff) {
    host->HostInputEvents(0);
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 47 00 7F F7"));
    ASSERT_TRUE(peers.tx->settle());
    host->HostInputEvents(1);
    host->HostInputCapture(0);
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 47 00 7F F7"));
    ASSERT_TRUE(peers.tx->settle());
    host->HostInputCapture(1);
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 47 00 00 F7"));
    ASSERT_TRUE(waitFor([&] { return notes() >= 1; }));
    ASSERT_TRUE(peers.rx->settle());
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"), (std::vector<Bytes>{{0x90, 64, 0}}));
}

// Sixteen pad hits in one cycle: every LED and every note, whole and in order.
TEST_F(JackInput, ABurstIsAnsweredWholeAndInOrder) {
    std::vector<Peer::Event> hits;
    std::vector<Bytes> leds, expectedNotes;
    for (uint8_t pad = 0; pad < 16; ++pad) {
        hits.push_back({"pad_tx", Bytes{0xF0, 0x42, 0x40, 0x6E, 0x08, 0x45,
                                        static_cast<uint8_t>(0x40 + pad), 0x10, 0xF7}});
        leds.push_back(Bytes{0xF0, 0x42, 0x40, 0x6E, 0x08, 0x01, static_cast<uint8_t>(0x40 + pad),
                             0x20, 0xF7});
        expectedNotes.push_back({0x90, pad, 0x10});
    }
    peers.tx->send(hits);
    ASSERT_TRUE(waitFor([&] { return notes() >= 16; }));
    ASSERT_TRUE(peers.rx->settle());
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"), expectedNotes);
    EXPECT_EQ(peers.rx->receivedBytes("pad_rx"), leds);
    EXPECT_EQ(host->Drops(), DropCounts{});
}
