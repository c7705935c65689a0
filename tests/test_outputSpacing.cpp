#include "host/OutputSpacing.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kPeriod = 128;
constexpr uint64_t kMs = 1000;

// A message that answers no input, written at `usecs`.
OutputSpacing::Message written(uint64_t usecs) {
    return {usecs};
}
// A message sent while input of `chain` was handled, due at frame `due`.
OutputSpacing::Message answer(uint64_t usecs, uint32_t chain, uint32_t due) {
    return {usecs, chain, due};
}
} // namespace

TEST(OutputSpacing, TheFirstMessageGoesAtTheStartOfTheCycle) {
    const OutputSpacing spacing(48000);
    EXPECT_EQ(spacing.offsetFor(written(5 * kMs), 1000, kPeriod), 0);
}

TEST(OutputSpacing, ANoteKeepsItsLengthAcrossCycles) {
    OutputSpacing spacing(48000);
    spacing.placed(written(100 * kMs), 1000);
    // 20 ms later at 48 kHz is 960 frames later: frame 1960.
    EXPECT_EQ(spacing.offsetFor(written(120 * kMs), 1000, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(written(120 * kMs), 1000 + 6 * kPeriod, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(written(120 * kMs), 1000 + 7 * kPeriod, kPeriod), 1960 - 1896);
}

TEST(OutputSpacing, MessagesWrittenTogetherGoTogether) {
    OutputSpacing spacing(48000);
    spacing.placed(written(100 * kMs), 1010);
    EXPECT_EQ(spacing.offsetFor(written(100 * kMs), 1000, kPeriod), 10);
    spacing.placed(written(100 * kMs), 1010);
    EXPECT_EQ(spacing.offsetFor(written(100 * kMs + 500), 1000, kPeriod), 10 + 24);
}

TEST(OutputSpacing, ALateCycleWidensTheGapButNeverPlacesIntoThePast) {
    OutputSpacing spacing(48000);
    spacing.placed(written(100 * kMs), 1000);
    EXPECT_EQ(spacing.offsetFor(written(101 * kMs), 5000, kPeriod), 0);
}

TEST(OutputSpacing, AMessageLongAfterTheOneBeforeIsNotHeldBack) {
    OutputSpacing spacing(48000);
    spacing.placed(written(100 * kMs), 1000);
    // The one before went out long ago in frames that now lie in the past or future: 2 s later
    // the message goes at once.
    EXPECT_EQ(spacing.offsetFor(written(2100 * kMs), 1000 + kPeriod, kPeriod), 0);
}

TEST(OutputSpacing, StaysBehindTheOneBeforeInTheSameCycle) {
    OutputSpacing spacing(48000);
    spacing.placed(written(100 * kMs), 1100);
    EXPECT_EQ(spacing.offsetFor(written(99 * kMs), 1024, kPeriod), 1100 - 1024);
    EXPECT_EQ(spacing.offsetFor(written(2000 * kMs), 1024, kPeriod), 1100 - 1024);
}

TEST(OutputSpacing, SurvivesTheFrameCounterWrapping) {
    OutputSpacing spacing(48000);
    const uint32_t nearEnd = 0xFFFFFF00u;
    spacing.placed(written(100 * kMs), nearEnd);
    // 10 ms = 480 frames later, past the wrap: frame 0x1E0 - 0x100 = 224.
    const uint32_t cycleStart = 200;
    EXPECT_EQ(spacing.offsetFor(written(110 * kMs), cycleStart, kPeriod), 224 - 200);
}

TEST(OutputSpacing, AnAnswerGoesAtTheFrameItIsDue) {
    OutputSpacing spacing(48000);
    EXPECT_EQ(spacing.offsetFor(answer(5 * kMs, 1, 1100), 896, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(answer(5 * kMs, 1, 1100), 1024, kPeriod), 1100 - 1024);
    spacing.placed(answer(5 * kMs, 1, 1100), 1100);
    // The next input's answer keeps the distance between the inputs, not between the writes.
    EXPECT_EQ(spacing.offsetFor(answer(5 * kMs + 100, 2, 1190), 1152, kPeriod), 1190 - 1152);
}

TEST(OutputSpacing, ALateAnswerGoesAtOnce) {
    const OutputSpacing spacing(48000);
    EXPECT_EQ(spacing.offsetFor(answer(5 * kMs, 1, 1000), 1024, kPeriod), 0);
}

// One late cycle pushed an answer back; the next input's answer is on time again, while a
// message of the same chain keeps its written distance from the late one.
TEST(OutputSpacing, LatenessEndsWithItsChain) {
    OutputSpacing spacing(48000);
    spacing.placed(answer(100 * kMs, 7, 4900), 5000);
    EXPECT_EQ(spacing.offsetFor(answer(101 * kMs, 8, 5010), 5000, kPeriod), 10);
    EXPECT_EQ(spacing.offsetFor(answer(101 * kMs, 7, 5010), 5000, kPeriod), 48);
}

TEST(OutputSpacing, APulseKeepsItsLengthAfterALateStart) {
    OutputSpacing spacing(48000);
    spacing.placed(answer(100 * kMs, 3, 1900), 2000);
    // 4 ms later in the same chain, still due at its input's frame: 192 frames after the start.
    EXPECT_EQ(spacing.offsetFor(answer(104 * kMs, 3, 1900), 2048, kPeriod), -1);
    EXPECT_EQ(spacing.offsetFor(answer(104 * kMs, 3, 1900), 2176, kPeriod), 2192 - 2176);
}

TEST(OutputSpacing, ANewChainStaysBehindTheOneBefore) {
    OutputSpacing spacing(48000);
    spacing.placed(answer(100 * kMs, 1, 1100), 1100);
    EXPECT_EQ(spacing.offsetFor(answer(100 * kMs, 2, 1050), 1024, kPeriod), 1100 - 1024);
}

TEST(OutputSpacing, AMessageAnsweringNothingKeepsItsDistanceToAnAnswer) {
    OutputSpacing spacing(48000);
    spacing.placed(answer(100 * kMs, 1, 1100), 1100);
    EXPECT_EQ(spacing.offsetFor(written(101 * kMs), 1024, kPeriod), 1100 + 48 - 1024);
}
