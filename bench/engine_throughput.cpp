// Reports per second through the engine on one core, without a MIDI server: the host discards
// what it is given, so only decoding, state and message building are measured.
#include "host/frmMain.h"
#include "support/NullHost.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {
frmMain& engine() {
    static frmMain* m = [] {
        auto* window = new frmMain([] { return std::make_unique<NullHost>(); });
        window->Form_Load();
        window->btnInitNativeMode_Click();
        return window;
    }();
    return *m;
}

// A hit and a release of each of the 16 pads, FLASH pads playing notes.
void PadReports(benchmark::State& state) {
    frmMain& m = engine();
    m.strFlashMidiCC = "MIDI";
    std::vector<std::string> reports;
    for (int pad = 0; pad < 16; ++pad) {
        char hit[40], release[40];
        std::snprintf(hit, sizeof hit, "F0 42 40 6E 08 45 %02X 64 F7", 0x40 + pad);
        std::snprintf(release, sizeof release, "F0 42 40 6E 08 45 %02X 00 F7", pad);
        reports.push_back(hit);
        reports.push_back(release);
    }
    size_t i = 0;
    for (auto _ : state) {
        m.mWire_SysExInput(reports[i]);
        i = (i + 1) % reports.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PadReports);

// Knob 1 sweeping up and down, sending control changes.
void KnobReportsCC(benchmark::State& state) {
    frmMain& m = engine();
    m.strKnobMode = "CC";
    std::vector<std::string> reports;
    for (int v = 0; v < 128; ++v) {
        char text[40];
        std::snprintf(text, sizeof text, "F0 42 40 6E 08 49 00 %02X F7",
                      v < 64 ? 2 * v : 255 - 2 * v);
        reports.push_back(text);
    }
    size_t i = 0;
    for (auto _ : state) {
        m.mWire_SysExInput(reports[i]);
        i = (i + 1) % reports.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(KnobReportsCC);

// Feedback notes from the music software switching FDB pads on and off.
void FeedbackNotes(benchmark::State& state) {
    frmMain& m = engine();
    for (int pad = 0; pad < 16; ++pad)
        m.strPadMode[pad][0] = "FDB";
    int32_t note = 0;
    for (auto _ : state) {
        m.mWire_MidiInput(0, 0, 0x90, note, note % 2 ? 100 : 0);
        note = (note + 1) % 16;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FeedbackNotes);
} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char dir[] = "/tmp/orvan-bench-XXXXXX";
    if (mkdtemp(dir))
        setenv("XDG_CONFIG_HOME", dir, 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
