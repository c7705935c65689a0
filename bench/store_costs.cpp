// What the settings store costs: the file replacements and flushes of one save of the pads, and
// the start-up's restore and recall of the pads on a settings file with 2,000 other keys.
#include "settings/RegistryFile.h"
#include "settings/StoreFiles.h"
#include "settings/mSettings.h"
#include "support/Harness.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace {
// A folder of its own as XDG_CONFIG_HOME while it lives, so that the store reads it afresh.
class ConfigHome {
public:
    ConfigHome() {
        std::string pattern = "/tmp/orvan-bench-store-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
        setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~ConfigHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

private:
    std::string path_;
};

// One save of every pad and both knobs, as on quitting, each round with other values.
void SaveSettings(benchmark::State& state) {
    ConfigHome home;
    Harness h;
    h.load();
    h.main().bAssignToggled = true;
    const StoreFileCounts before = StoreFileCounters();
    long round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const ModeText mode("R" + std::to_string(round));
        for (auto& pad : h.main().strPadMode)
            pad.fill(mode);
        h.main().bKnob1State = ++round % 2 != 0;
        h.settle();
        state.ResumeTiming();
        h.window().SaveSettings();
    }
    const auto each = [&](long counted) {
        return benchmark::Counter(static_cast<double>(counted), benchmark::Counter::kAvgIterations);
    };
    state.counters["replaces"] = each(StoreFileCounters().replaces - before.replaces);
    state.counters["fsyncs"] = each(StoreFileCounters().syncs - before.syncs);
}
BENCHMARK(SaveSettings)->Unit(benchmark::kMillisecond);

// The text of a store as a run that saved its pads leaves it, with 2,000 keys of another program.
std::string largeStore() {
    ConfigHome home;
    {
        Harness h;
        h.load();
        WriteSetting("AutoRecall", "1");
        h.window().SaveSettings();
    }
    RegDocument document = ReadRegistryFile();
    char path[64];
    for (int key = 1; key <= 2000; ++key) {
        std::snprintf(path, sizeof path, "HKEY_CURRENT_USER\\Software\\Other\\K%04d", key);
        document.ensureKey(path);
    }
    return RegText(document);
}

// Start-up up to the first pad answered: the settings restored, native mode pressed and the
// pads recalled, every round from a store not read before.
void StartUpOn2000Keys(benchmark::State& state) {
    const std::string text = largeStore();
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<ConfigHome> home(std::in_place);
        std::filesystem::create_directories(std::getenv("XDG_CONFIG_HOME") + std::string("/orvan"));
        std::ofstream(RegistryFilePath(), std::ios::binary) << text;
        auto h = std::make_unique<Harness>();
        state.ResumeTiming();
        h->window().Form_Load();
        h->window().btnInitNativeMode_Click();
        h->settle();
        state.PauseTiming();
        h.reset();
        home.reset();
        state.ResumeTiming();
    }
    state.counters["file bytes"] = static_cast<double>(text.size());
}
BENCHMARK(StartUpOn2000Keys)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
