#include "JackFixture.h"

#include <cstdio>
#include <thread>

class JackOutput : public JackHostTest {
protected:
    void SetUp() override {
        JackHostTest::SetUp();
        openHost(OptionsFor(SharedServer().name(), {peers.name}));
    }

    bool waitFor(const std::string& port, size_t count) {
        return WaitUntil([&] { return peers.rx->received(port).size() >= count; });
    }
};

TEST_F(JackOutput, SysExLeavesOnControllerOutByteExact) {
    host->HostSendSysEx("f0 42  40 6e 08 00 00 01 F7");
    host->HostSendSysEx(" F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 03 58 58 45 f7 ");
    ASSERT_TRUE(waitFor("pad_rx", 2));
    EXPECT_EQ(
        peers.rx->receivedBytes("pad_rx"),
        (std::vector<Bytes>{HexBytes("F0 42 40 6E 08 00 00 01 F7"),
                            HexBytes("F0 42 40 6E 08 3F 0A 01 00 00 00 00 00 03 58 58 45 F7")}));
    EXPECT_TRUE(peers.rx->received("song_rx").empty());
}

TEST_F(JackOutput, ShortMessagesLeaveOnDawOut) {
    host->HostSendMessage(-1, 0x90, 3, 100);
    host->HostSendMessage(-1, 0xB5, 87, 127);
    host->HostSendMessage(-1, 0xC0, 9, 0);
    ASSERT_TRUE(waitFor("song_rx", 3));
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"),
              (std::vector<Bytes>{{0x90, 3, 100}, {0xB5, 87, 127}, {0xC0, 9}}));
    EXPECT_TRUE(peers.rx->received("pad_rx").empty());
}

TEST_F(JackOutput, AnInvalidShortMessageNeverReachesTheWire) {
    host->HostSendMessage(-1, 0x90, 128, 0);
    host->HostSendMessage(-1, 0x90 + 0x70, 1, 1);
    host->HostSendMessage(-1, 0x7F, 1, 1);
    host->HostSendMessage(-1, 0xB0, 7, -1);
    host->HostSendMessage(-1, 0xF0, 1, 1);
    host->HostSendMessage(-1, 0x80, 60, 0); // the marker: everything before it has left
    ASSERT_TRUE(waitFor("song_rx", 1));
    ASSERT_TRUE(peers.tx->settle());
    EXPECT_EQ(peers.rx->receivedBytes("song_rx"), (std::vector<Bytes>{{0x80, 60, 0}}));
}

TEST_F(JackOutput, BadSysExTextIsRefusedAndNothingLeaves) {
    EXPECT_THROW(host->HostSendSysEx("F0 42 80 F7"), HostError);
    EXPECT_THROW(host->HostSendSysEx("F0 42 4 F7"), HostError);
    EXPECT_THROW(host->HostSendSysEx("42 F7"), HostError);
    host->HostSendSysEx("F0 7F F7");
    ASSERT_TRUE(waitFor("pad_rx", 1));
    ASSERT_TRUE(peers.tx->settle());
    EXPECT_EQ(peers.rx->receivedBytes("pad_rx"), (std::vector<Bytes>{{0xF0, 0x7F, 0xF7}}));
}

TEST_F(JackOutput, ABurstLeavesWholeAndInOrder) {
    constexpr int kMessages = 200;
    for (int i = 0; i < kMessages; ++i) {
        host->HostSendMessage(-1, 0x90, i % 128, i / 128 + 1);
        if (i % 10 == 0) {
            char text[16];
            std::snprintf(text, sizeof text, "F0 %02x F7", i % 128);
            host->HostSendSysEx(text);
        }
    }
    ASSERT_TRUE(waitFor("song_rx", kMessages));
    ASSERT_TRUE(waitFor("pad_rx", kMessages / 10));
    const std::vector<Peer::Received> notes = peers.rx->received("song_rx");
    ASSERT_EQ(notes.size(), size_t{kMessages});
    for (int i = 0; i < kMessages; ++i)
        EXPECT_EQ(notes[i].bytes, (Bytes{0x90, uint8_t(i % 128), uint8_t(i / 128 + 1)})) << i;
    const std::vector<Bytes> sysEx = peers.rx->receivedBytes("pad_rx");
    for (int i = 0; i < kMessages / 10; ++i)
        EXPECT_EQ(sysEx[i], (Bytes{0xF0, uint8_t(i * 10 % 128), 0xF7})) << i;
    EXPECT_EQ(host->droppedOutput(), 0u);
}

// Messages written 30 ms apart reach the wire at least 30 ms apart (in frames at 48 kHz), however
// the process cycles fall.
TEST_F(JackOutput, OutgoingMessagesKeepTheirSpacing) {
    host->HostSendMessage(-1, 0x90, 5, 127);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    host->HostSendMessage(-1, 0x90, 5, 0);
    ASSERT_TRUE(waitFor("song_rx", 2));
    const std::vector<Peer::Received> notes = peers.rx->received("song_rx");
    EXPECT_GE(notes[1].frame - notes[0].frame, 30u * 48u);
}
