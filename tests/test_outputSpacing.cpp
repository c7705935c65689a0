#include "host/OutputSpacing.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kPeriod = 128;
constexpr uint64_t kMs = 1000;
} // namespace

TEST(OutputSpacing, TheFirstMessageGoesAtTheStartOfTheCycle) {
    const OutputSpacing spacing(48000);
    EXPECT_EQ(spacing.offsetFor(5 * kMs, 1000, kPeriod), 0);
}

TEST(OutputSpacing, ANoteKeepsItsLengthAcrossCycles) {
    OutputSpacing spacing(48000);
    spacing.placed(100 * kMs, 1000);
    // 20 ms later at 48 kHz is 960 frames later: frame 1960.
    EXPECT_EQ(spacing.offsetFor(120 * kMs, 1000, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(120 * kMs, 1000 + 6 * kPeriod, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(120 * kMs, 1000 + 7 * kPeriod, kPeriod), 1960 - 1896);
}

TEST(OutputSpacing, MessagesWrittenTogetherGoTogether) {
    OutputSpacing spacing(48000);
    spacing.placed(100 * kMs, 1010);
    EXPECT_EQ(spacing.offsetFor(100 * kMs, 1000, kPeriod), 10);
    spacing.placed(100 * kMs, 1010);
    EXPECT_EQ(spacing.offsetFor(100 * kMs + 500, 1000, kPeriod), 10 + 24);
}

TEST(OutputSpacing, ALateCycleWidensTheGapButNeverPlacesIntoThePast) {
    OutputSpacing spacing(48000);
    spacing.placed(100 * kMs, 1000);
    EXPECT_EQ(spacing.offsetFor(101 * kMs, 5000, kPeriod), 0);
}

TEST(OutputSpacing, AMessageLongAfterTheOneBeforeIsNotHeldBack) {
    OutputSpacing spacing(48000);
    spacing.placed(100 * kMs, 1000);
    // The one before went out long ago in frames that now lie in the past or future: 2 s later
    // the message goes at once.
    EXPECT_EQ(spacing.offsetFor(2100 * kMs, 1000 + kPeriod, kPeriod), 0);
}

TEST(OutputSpacing, StaysBehindTheOneBeforeInTheSameCycle) {
    OutputSpacing spacing(48000);
    spacing.placed(100 * kMs, 1100);
    EXPECT_EQ(spacing.offsetFor(99 * kMs, 1024, kPeriod), 1100 - 1024);
    EXPECT_EQ(spacing.offsetFor(2000 * kMs, 1024, kPeriod), 1100 - 1024);
}

TEST(OutputSpacing, SurvivesTheFrameCounterWrapping) {
    OutputSpacing spacing(48000);
    const uint32_t nearEnd = 0xFFFFFF00u;
    spacing.placed(100 * kMs, nearEnd);
    // 10 ms = 480 frames later, past the wrap: frame 0x1E0 - 0x100 = 224.
    const uint32_t cycleStart = 200;
    EXPECT_EQ(spacing.offsetFor(110 * kMs, cycleStart, kPeriod), 224 - 200);
}
