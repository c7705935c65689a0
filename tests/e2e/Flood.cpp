#include "Flood.h"

#include <algorithm>

namespace {
// Twice a second, this many knob reports in a row: each pulse lasts longer than the time to the
// next report, so they nest as deep as the engine lets them.
constexpr size_t kBurst = 24;
constexpr int kBurstsPerSecond = 2;

// Knob 1 at its top and bottom always sends a pulse: notes 22 and 20.
constexpr uint8_t kTopNote = 22;
constexpr uint8_t kBottomNote = 20;

Bytes report(uint8_t kind, uint8_t byte7, uint8_t byte8) {
    return {0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
}
} // namespace

size_t FloodPlan::answerCount() const {
    size_t count = firstAnswers.size();
    for (const Bytes& end : pulseEnds)
        count += !end.empty();
    return count;
}

FloodPlan MakeFlood(int reportsPerSecond, int seconds, uint32_t sampleRate, int bank) {
    FloodPlan plan;
    const size_t total = static_cast<size_t>(reportsPerSecond) * seconds;
    const size_t burstEvery = static_cast<size_t>(reportsPerSecond / kBurstsPerSecond);
    size_t padReports = 0;
    size_t knobReports = 0;
    for (size_t k = 0; k < total; ++k) {
        const auto frame = static_cast<uint32_t>(k * sampleRate / reportsPerSecond);
        if (k % burstEvery < kBurst) {
            const bool top = knobReports++ % 2 == 0;
            const uint8_t note = top ? kTopNote : kBottomNote;
            plan.reports.push_back({frame, report(0x49, 0x00, top ? 0x7F : 0x00)});
            plan.firstAnswers.push_back({0x90, note, 0x7F});
            plan.pulseEnds.push_back({0x90, note, 0x00});
            continue;
        }
        // Hit and release in turn, pad after pad; the hit's velocity tells hits apart.
        const size_t press = padReports / 2;
        const bool hit = padReports++ % 2 == 0;
        const auto pad = static_cast<uint8_t>(press % 16);
        const auto velocity = static_cast<uint8_t>(1 + press / 16 % 127);
        const auto note = static_cast<uint8_t>(24 * bank + pad);
        plan.reports.push_back({frame, report(0x45, static_cast<uint8_t>(hit ? 0x40 + pad : pad),
                                              hit ? velocity : 0)});
        plan.firstAnswers.push_back({0x90, note, static_cast<uint8_t>(hit ? velocity : 0)});
        plan.pulseEnds.emplace_back();
    }
    return plan;
}

FloodCheck CheckFlood(const FloodPlan& plan, const std::vector<Bytes>& dawOut) {
    // A lost report leaves a gap in the order; a message far beyond any gap is out of order.
    constexpr size_t kLookAhead = 4096;
    FloodCheck check;
    std::vector<Bytes> open; // ends of the pulses under way, innermost last
    size_t next = 0;
    for (const Bytes& message : dawOut) {
        if (!open.empty() && message == open.back()) {
            open.pop_back();
            continue;
        }
        size_t found = next;
        const size_t end = std::min(plan.firstAnswers.size(), next + kLookAhead);
        while (found < end && plan.firstAnswers[found] != message)
            ++found;
        if (found == end) {
            ++check.disordered;
            continue;
        }
        check.missing += found - next;
        ++check.answered;
        if (!plan.pulseEnds[found].empty())
            open.push_back(plan.pulseEnds[found]);
        next = found + 1;
    }
    check.missing += plan.firstAnswers.size() - next;
    check.unclosed = open.size();
    return check;
}
