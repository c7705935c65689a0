#include "host/SpscRing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

TEST(SpscRing, WritesTwoPiecesAsOneAndReadsThemAcrossTheWrap) {
    SpscRing ring(16);
    const char filler[10] = {};
    ASSERT_TRUE(ring.write(filler, sizeof filler));
    ring.skip(sizeof filler);
    ASSERT_TRUE(ring.write("abcd", 4, "efghij", 6)); // crosses the end of the buffer
    EXPECT_EQ(ring.readable(), 10u);
    char out[11] = {};
    ASSERT_TRUE(ring.peek(out, 6, 4));
    EXPECT_STREQ(out, "efghij");
    ASSERT_TRUE(ring.peek(out, 10));
    EXPECT_EQ(std::string(out, 10), "abcdefghij");
    ring.skip(10);
    EXPECT_EQ(ring.readable(), 0u);
    EXPECT_FALSE(ring.peek(out, 1));
}

TEST(SpscRing, RoundsItsCapacityUpAndAWriteThatDoesNotFitLeavesNothing) {
    EXPECT_EQ(SpscRing(100).capacity(), 128u);
    EXPECT_EQ(SpscRing(64).capacity(), 64u);
    SpscRing ring(16);
    ASSERT_TRUE(ring.write("0123456789", 10));
    EXPECT_FALSE(ring.write("abcd", 4, "efg", 3));
    EXPECT_EQ(ring.readable(), 10u);
    EXPECT_TRUE(ring.write("abcdef", 6));
    EXPECT_EQ(ring.readable(), 16u);
}

// Records of varying length pass from one thread to another whole and in order.
TEST(SpscRing, KeepsRecordsWholeAndInOrderBetweenTwoThreads) {
    SpscRing ring(256);
    constexpr uint32_t kRecords = 50000;
    std::thread producer([&ring] {
        uint8_t payload[40];
        for (uint32_t n = 0; n < kRecords;) {
            const uint8_t size = static_cast<uint8_t>(n % 37 + 1);
            std::memset(payload, static_cast<int>(n & 0xFF), size);
            const uint8_t header[5] = {size, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), 0};
            if (ring.write(header, sizeof header, payload, size))
                ++n;
            else
                std::this_thread::yield();
        }
    });
    uint32_t expected = 0;
    bool whole = true;
    while (expected < kRecords && whole) {
        uint8_t header[5];
        if (!ring.peek(header, sizeof header)) {
            std::this_thread::yield();
            continue;
        }
        const uint32_t n = header[1] | header[2] << 8 | header[3] << 16;
        uint8_t payload[40];
        whole = n == expected && header[0] == n % 37 + 1 &&
                ring.peek(payload, header[0], sizeof header);
        for (uint8_t i = 0; whole && i < header[0]; ++i)
            whole = payload[i] == (n & 0xFF);
        ring.skip(sizeof header + header[0]);
        ++expected;
    }
    producer.join();
    EXPECT_TRUE(whole) << "record " << expected - 1;
    EXPECT_EQ(expected, kRecords);
}
