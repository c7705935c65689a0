#include "Summary.h"

#include <algorithm>
#include <cstdio>

Summary Summarize(std::vector<int64_t> values) {
    Summary s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const auto rank = [&](double p) {
        const auto at = static_cast<size_t>(p * static_cast<double>(values.size()) + 0.999999);
        return values[std::clamp<size_t>(at, 1, values.size()) - 1];
    };
    s.min = values.front();
    s.p50 = rank(0.50);
    s.p99 = rank(0.99);
    s.max = values.back();
    return s;
}

std::string FramesAndTime(const Summary& s, uint32_t sampleRate, bool ms) {
    const double unit = ms ? 1e3 : 1e6;
    const auto time = [&](int64_t frames) {
        return static_cast<double>(frames) * unit / sampleRate;
    };
    char text[160];
    std::snprintf(text, sizeof text, "%6lld %6lld %6lld %6lld | %8.*f %8.*f %8.*f %8.*f",
                  static_cast<long long>(s.min), static_cast<long long>(s.p50),
                  static_cast<long long>(s.p99), static_cast<long long>(s.max), ms ? 2 : 0,
                  time(s.min), ms ? 2 : 0, time(s.p50), ms ? 2 : 0, time(s.p99), ms ? 2 : 0,
                  time(s.max));
    return text;
}
