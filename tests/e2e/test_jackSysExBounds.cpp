// SysEx at the edges of what the input takes, through a real server: cut over events and cycles,
// realtime bytes inside, cut short, too long. The broken ones are dropped; the report after them
// is still handled.
#include "JackFixture.h"

#include "host/MidiAssembler.h"
#include "host/MidiBytes.h"

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
};

TEST_F(JackSysExBounds, ASysExWithoutItsEndIsDroppedAndTheNextReportArrives) {
    // Cut short by the next SysEx.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 44 64"));
    peers.tx->send("pad_tx", HexBytes(kReport));
    ASSERT_TRUE(WaitUntil([this] { return !sysEx.empty(); }));
    // Cut short by a short message, in the same event.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 44 64 90 05 7F"));
    peers.tx->send("pad_tx", HexBytes(kReport));
    ASSERT_TRUE(WaitUntil([this] { return sysEx.size() == 2; }));
    ASSERT_TRUE(peers.tx->settle());
    PumpEvents();
    EXPECT_EQ(sysEx, (std::vector<std::string>{kReport, kReport}));
    EXPECT_EQ(midi, std::vector<std::string>{"0 144 5 127"});
}

TEST_F(JackSysExBounds, TheLongestSysExArrivesWholeAndALongerOneIsDropped) {
    const Bytes longest = longSysEx(MidiAssembler::kMaxSysEx);
    sendInPieces(*peers.tx, "pad_tx", longest);
    sendInPieces(*peers.tx, "pad_tx", longSysEx(MidiAssembler::kMaxSysEx + 1));
    peers.tx->send("pad_tx", HexBytes(kReport));
    ASSERT_TRUE(WaitUntil([this] { return sysEx.size() >= 2; }));
    ASSERT_TRUE(peers.tx->settle());
    PumpEvents();
    EXPECT_EQ(sysEx,
              (std::vector<std::string>{SysExText(longest.data(), longest.size()), kReport}));
}

// Through the whole chain: after each broken report, the pad hit behind it plays its note on the
// music software's side, and nothing of the broken ones does.
TEST(JackSysExBoundsWindow, APadHitAfterABrokenReportStillPlaysItsNote) {
    Peers peers = MakePeers(SharedServer().name(), UniqueName("peer"));
    JackWindow window(OptionsFor(SharedServer().name(), {peers.name}));
    frmMain& main = window.main();
    main.strFlashMidiCC = "MIDI";
    main.bFixedVelocity = false;
    main.intCurrentBank = 0;
    const auto notes = [&] { return peers.rx->receivedBytes("song_rx"); };

    // Pad 4 hit without its end, then pad 3 hit.
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 44 64"));
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 43 64 F7"));
    ASSERT_TRUE(WaitUntil([&] { return notes().size() >= 1; }));
    // Pad 6 hit, too long to keep, then pad 5 hit.
    sendInPieces(*peers.tx, "pad_tx", longSysEx(MidiAssembler::kMaxSysEx + 1));
    peers.tx->send("pad_tx", HexBytes("F0 42 40 6E 08 45 45 33 F7"));
    ASSERT_TRUE(WaitUntil([&] { return notes().size() >= 2; }));
    // Pad 7 hit over two events and two cycles, with realtime bytes inside.
    peers.tx->send({{"pad_tx", HexBytes("F0 42 F8 40")}, {"pad_tx", HexBytes("6E 08 FA 45")}});
    peers.tx->send("pad_tx", HexBytes("FE 47 22 F8 F7"));
    ASSERT_TRUE(WaitUntil([&] { return notes().size() >= 3; }));

    ASSERT_TRUE(peers.tx->settle());
    PumpEvents();
    ASSERT_TRUE(peers.rx->settle());
    EXPECT_EQ(notes(), (std::vector<Bytes>{{0x90, 3, 0x64}, {0x90, 5, 0x33}, {0x90, 7, 0x22}}));
    EXPECT_FALSE(main.Ending());
    EXPECT_TRUE(window.messages().shown.empty());
}
