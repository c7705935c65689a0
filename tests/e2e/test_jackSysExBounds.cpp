// SysEx at the edges of what the input takes, through a real server: cut over events and cycles,
// realtime bytes inside, cut short, too long. The broken ones are dropped; the report after them
// is still handled.
#include "JackFixture.h"

#include "host/MidiAssembler.h"

#include <algorithm>

namespace {
const char* const kReport = "F0 42 40 6E 08 45 43 64 F7";

// A SysEx message of `size` bytes that starts as a report of pad 6 hit.
Bytes longSysEx(size_t size) {
    Bytes bytes = HexBytes("F0 42 40 6E 08 45 46 64");
    bytes.resize(size - 1, 0x00);
    bytes.push_back(0xF7);
    return bytes;
}

// The bytes as events of at most 256 bytes, each in a cycle of its own.
void sendInPieces(Peer& peer, const std::string& port, const Bytes& bytes) {
    for (size_t at = 0; at < bytes.size(); at += 256) {
        const auto end = bytes.begin() + static_cast<long>(std::min(at + 256, bytes.size()));
        peer.send(port, Bytes(bytes.begin() + static_cast<long>(at), end));
    }
}
} // namespace

class JackSysExBounds : public JackHostTest {
protected:
    void SetUp() override {
        JackHostTest::SetUp();
        openHost(OptionsFor(SharedServer().name(), {peers.name}));
    }
    std::vector<Bytes> notes() const { return peers.rx->receivedBytes("song_rx"); }
};

// After each broken report, the pad hit behind it plays its note, and nothing of the broken ones
// does.
TEST_F(JackSysExBounds, APadHitAfterABrokenReportStillPlaysItsNote) {
    // Pad 4 hit without its end, cut short by the next SysEx, then pad 3 hit.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 44 64"));
    peers.tx->send("pad_tx", HexBytes(kReport));
    ASSERT_TRUE(waitFor([&] { return notes().size() >= 1; }));
    // Pad 4 hit cut short by a short message in the same event (the trigger note), then pad 5.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 44 64 90 51 7F"));
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 45 33 F7"));
    ASSERT_TRUE(waitFor([&] { return notes().size() >= 6; }));
    // Pad 6 hit, one byte too long to keep, then pad 7 over two events with realtime bytes.
    sendInPieces(*peers.tx, "pad_tx", longSysEx(MidiAssembler::kMaxSysEx + 1));
    peers.tx->send({{"pad_tx", HexBytes("F0 42 F8 40")}, {"pad_tx", HexBytes("6E 08 FA 45")}});
    peers.tx->send("pad_tx", HexBytes("FE 47 22 F8 F7"));
    ASSERT_TRUE(waitFor([&] { return notes().size() >= 7; }));
    ASSERT_TRUE(peers.rx->settle());
    EXPECT_EQ(notes(), (std::vector<Bytes>{{0x90, 3, 0x64},
                                           {0xB0, 88, 127},
                                           {0xB0, 87, 127},
                                           {0xB0, 86, 127},
                                           {0xB0, 85, 127},
                                           {0x90, 5, 0x33},
                                           {0x90, 7, 0x22}}));
    EXPECT_EQ(host->Drops().inputOversize, 1u);
}

// The longest SysEx the input takes is handled: it starts as a hit of pad 6.
TEST_F(JackSysExBounds, TheLongestSysExIsHandledWhole) {
    sendInPieces(*peers.tx, "pad_tx", longSysEx(MidiAssembler::kMaxSysEx));
    ASSERT_TRUE(waitFor([&] { return notes().size() >= 1; }));
    EXPECT_EQ(notes().front(), (Bytes{0x90, 6, 0x64}));
    EXPECT_EQ(host->Drops(), DropCounts{});
}
