// Reports per second through the engine on one core, without a MIDI server: what the engine
// sends is discarded, so only decoding, state and message building are measured.
#include "engine/ControllerEngine.h"
#include "support/NullOut.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
ControllerEngine& engine() {
    return DiscardingEngineInNativeMode();
}

void deliver(benchmark::State& state, const std::vector<std::string>& reports) {
    ControllerEngine& m = engine();
    HostInput input;
    input.sysEx = true;
    size_t i = 0;
    for (auto _ : state) {
        input.frame = m.Now() + 1;
        input.text = reports[i];
        m.Deliver(input);
        i = (i + 1) % reports.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// A hit and a release of each of the 16 pads.
std::vector<std::string> padReports() {
    std::vector<std::string> reports;
    for (int pad = 0; pad < 16; ++pad) {
        char hit[40], release[40];
        std::snprintf(hit, sizeof hit, "F0 42 40 6E 08 45 %02X 64 F7", 0x40 + pad);
        std::snprintf(release, sizeof release, "F0 42 40 6E 08 45 %02X 00 F7", pad);
        reports.push_back(hit);
        reports.push_back(release);
    }
    return reports;
}

// FLASH pads playing their built-in notes.
void PadReports(benchmark::State& state) {
    engine().strFlashMidiCC = "MIDI";
    deliver(state, padReports());
}
BENCHMARK(PadReports);

// The same with every pad mapped to a note on a channel of its own, through a curve and bounds.
void PadReportsMapped(benchmark::State& state) {
    ControllerEngine& m = engine();
    m.strFlashMidiCC = "MIDI";
    Mapping mapping;
    for (int pad = 0; pad < 16; ++pad)
        for (int bank = 0; bank < 3; ++bank)
            mapping.pads[pad][bank] = {
                {MessageKind::Note, static_cast<int8_t>(36 + pad), static_cast<int8_t>(pad)},
                true,
                {VelocityCurve::Soft, 10, 120, 5, 0}};
    m.SetMapping(mapping);
    deliver(state, padReports());
    m.SetMapping(Mapping{});
}
BENCHMARK(PadReportsMapped);

// Knob 1 sweeping up and down, sending control changes.
void KnobReportsCC(benchmark::State& state) {
    engine().strKnobMode = "CC";
    std::vector<std::string> reports;
    for (int v = 0; v < 128; ++v) {
        char text[40];
        std::snprintf(text, sizeof text, "F0 42 40 6E 08 49 00 %02X F7",
                      v < 64 ? 2 * v : 255 - 2 * v);
        reports.push_back(text);
    }
    deliver(state, reports);
}
BENCHMARK(KnobReportsCC);

// Feedback notes from the music software switching FDB pads on and off.
void FeedbackNotes(benchmark::State& state) {
    ControllerEngine& m = engine();
    for (int pad = 0; pad < 16; ++pad)
        m.strPadMode[pad][0] = "FDB";
    HostInput input;
    input.status = 0x90;
    int32_t note = 0;
    for (auto _ : state) {
        input.frame = m.Now() + 1;
        input.data1 = note;
        input.data2 = note % 2 ? 100 : 0;
        m.Deliver(input);
        note = (note + 1) % 16;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FeedbackNotes);
} // namespace

BENCHMARK_MAIN();
