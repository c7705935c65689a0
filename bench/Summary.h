#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Order statistics of a set of frame counts (nearest rank).
struct Summary {
    size_t count = 0;
    int64_t min = 0;
    int64_t p50 = 0;
    int64_t p99 = 0;
    int64_t max = 0;
};
Summary Summarize(std::vector<int64_t> values);

// "min p50 p99 max" in frames, then the same in microseconds (or in ms with `ms`).
std::string FramesAndTime(const Summary& s, uint32_t sampleRate, bool ms = false);
