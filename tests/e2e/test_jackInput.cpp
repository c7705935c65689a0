#include "JackFixture.h"

namespace {
const char* const kReport = "F0 42 40 6E 08 45 43 64 F7";
}

class JackInput : public JackHostTest {
protected:
    void SetUp() override {
        JackHostTest::SetUp();
        openHost(OptionsFor(SharedServer().name(), {peers.name}));
    }
};

TEST_F(JackInput, AReportBecomesOneSysExInputWithTheExactText) {
    peers.tx->send("pad_tx", HexBytes(kReport));
    ASSERT_TRUE(WaitUntil([this] { return !sysEx.empty(); }));
    ASSERT_TRUE(peers.tx->settle());
    PumpEvents();
    EXPECT_EQ(sysEx, std::vector<std::string>{kReport});
    EXPECT_TRUE(midi.empty());
}

TEST_F(JackInput, AReportSplitOverTwoEventsIsJoined) {
    peers.tx->send({{"pad_tx", HexBytes("F0 42 40 6E")}, {"pad_tx", HexBytes("08 45 43 64 F7")}});
    ASSERT_TRUE(WaitUntil([this] { return !sysEx.empty(); }));
    EXPECT_EQ(sysEx, std::vector<std::string>{kReport});
}

TEST_F(JackInput, AReportSplitOverTwoCyclesWithRealtimeBytesIsJoined) {
    peers.tx->send("pad_tx", HexBytes("F0 42 F8 40 6E"));
    ASSERT_TRUE(peers.tx->settle());
    peers.tx->send("pad_tx", HexBytes("08 FE 48 10 7F F7"));
    ASSERT_TRUE(WaitUntil([this] { return !sysEx.empty(); }));
    EXPECT_EQ(sysEx, std::vector<std::string>{"F0 42 40 6E 08 48 10 7F F7"});
}

TEST_F(JackInput, ShortMessagesOnEitherInputBecomeMidiInput) {
    peers.tx->send("song_tx", HexBytes("90 05 7F"));
    ASSERT_TRUE(WaitUntil([this] { return midi.size() == 1; }));
    peers.tx->send("pad_tx", HexBytes("B0 7E 40"));
    ASSERT_TRUE(WaitUntil([this] { return midi.size() == 2; }));
    // Realtime and unfinished messages are not delivered; the message after them is.
    peers.tx->send({{"song_tx", HexBytes("F8")}, {"song_tx", HexBytes("90 05")}});
    peers.tx->send("song_tx", HexBytes("80 06 00"));
    ASSERT_TRUE(WaitUntil([this] { return midi.size() == 3; }));
    EXPECT_EQ(midi, (std::vector<std::string>{"1 144 5 127", "0 176 126 64", "1 128 6 0"}));
    EXPECT_TRUE(sysEx.empty());
}

TEST_F(JackInput, NothingIsDeliveredWhileInputEventsOrCaptureAreOff) {
    host->HostInputEvents(0);
    peers.tx->send("pad_tx", HexBytes("F0 01 F7"));
    ASSERT_TRUE(peers.tx->settle());
    PumpEvents();
    host->HostInputEvents(1);
    host->HostInputCapture(0);
    peers.tx->send("pad_tx", HexBytes("F0 02 F7"));
    ASSERT_TRUE(peers.tx->settle());
    host->HostInputCapture(1);
    peers.tx->send("pad_tx", HexBytes("F0 03 F7"));
    ASSERT_TRUE(WaitUntil([this] { return !sysEx.empty(); }));
    EXPECT_EQ(sysEx, std::vector<std::string>{"F0 03 F7"});
}
