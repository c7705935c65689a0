#include "host/OutputSpacing.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(OutputSpacing, PlacesEachMessageByItsDistanceToTheOneBefore) {
    constexpr uint32_t P = 128; // frames per cycle
    constexpr uint64_t ms = 1000;
    const struct {
        const char* name;
        std::vector<std::pair<uint64_t, uint32_t>> placed; // written at, went out at frame
        uint64_t now;
        uint32_t cycleStart;
        int64_t offset;
    } cases[] = {
        {"the first goes at the start of the cycle", {}, 5 * ms, 1000, 0},
        // 20 ms at 48 kHz is 960 frames: frame 1960.
        {"a note keeps its length: not yet", {{100 * ms, 1000}}, 120 * ms, 1000, -1},
        {"a note keeps its length: still not", {{100 * ms, 1000}}, 120 * ms, 1000 + 6 * P, -1},
        {"a note keeps its length", {{100 * ms, 1000}}, 120 * ms, 1000 + 7 * P, 1960 - 1896},
        {"written together, go together", {{100 * ms, 1010}}, 100 * ms, 1000, 10},
        {"0.5 ms later, 24 frames later",
         {{100 * ms, 1010}, {100 * ms, 1010}},
         100 * ms + 500,
         1000,
         10 + 24},
        {"a late cycle never places into the past", {{100 * ms, 1000}}, 101 * ms, 5000, 0},
        {"long after the one before: at once", {{100 * ms, 1000}}, 2100 * ms, 1000 + P, 0},
        {"behind the one before in the same cycle", {{100 * ms, 1100}}, 99 * ms, 1024, 76},
        {"behind it even long after", {{100 * ms, 1100}}, 2000 * ms, 1024, 76},
        // 10 ms = 480 frames past 0xFFFFFF00: frame 0x1E0 - 0x100 = 224.
        {"the frame counter wraps", {{100 * ms, 0xFFFFFF00u}}, 110 * ms, 200, 224 - 200},
    };
    for (const auto& c : cases) {
        OutputSpacing spacing(48000);
        for (const auto& [usecs, frame] : c.placed)
            spacing.placed(usecs, frame);
        EXPECT_EQ(spacing.offsetFor(c.now, c.cycleStart, P), c.offset) << c.name;
    }
}
