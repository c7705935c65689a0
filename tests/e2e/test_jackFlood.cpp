#include "Flood.h"
#include "JackFixture.h"
#include "MidiClients.h"
#include "ResidentMemory.h"

#include <unistd.h>

#include <limits>

namespace {
// Under AddressSanitizer freed memory is held back on purpose, so resident memory says nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif

constexpr uint32_t kRate = 48000;
constexpr int kReportsPerSecond = 3500;

std::vector<Bytes> messages(const std::vector<Recorder::Event>& events) {
    std::vector<Bytes> out;
    for (const Recorder::Event& e : events)
        out.push_back(e.message());
    return out;
}
} // namespace

// 3,500 reports a second for 20 seconds through the JACK host into the engine: pad hits and
// releases, and bursts of knob reports whose pulses nest (and whose waiting reports merge). On a
// synchronous server, so that every message the clients exchange is read exactly once however late
// a cycle runs.
TEST(JackFlood, EveryReportIsAnsweredInOrderOrCounted) {
    PrivateServer server("flood", true);
    const std::string name = UniqueName("flood");
    ScheduledSender sender(server.name(), name + "-tx");
    Recorder recorder(server.name(), name + "-rx", {"daw"}, 1 << 18);
    HostOptions options;
    options.server = server.name();
    options.clientName = UniqueName("orvan-flood");
    options.controllerPorts = "^" + sender.port() + "$";
    options.dawPorts = "^" + recorder.port(0) + "$";
    JackWindow window(options);
    window.runner().PostSettings(AllNotes(), std::nullopt);

    // A first second of it, so that whatever grows once has grown before memory is measured.
    const FloodPlan warmUp = MakeFlood(kReportsPerSecond, 1, kRate, 0);
    PlayAndCollect(sender, warmUp.reports, recorder, 0, warmUp.answerCount());
    FloodPlan plan = MakeFlood(kReportsPerSecond, 20, kRate, 0);
    const size_t answers = plan.answerCount();
    const long before = ResidentKiB(getpid());
    const size_t first = PlayAndWait(sender, std::move(plan.reports), recorder, 0, answers);
    const long after = ResidentKiB(getpid());

    const FloodCheck check = CheckFlood(plan, messages(EventsFrom(recorder, 0, first)));
    const DropCounts drops = window.host().Drops();
    const uint64_t droppedIn =
        drops.inputOversize + drops.inputMerged + drops.inputHeld + drops.inputQueue;
    const uint64_t droppedOut = drops.outputFull + drops.outputInvalid;
    const EngineSnapshot& engine = window.snapshot();
    EXPECT_EQ(recorder.overflow(), 0u);
    EXPECT_EQ(check.disordered, 0u);
    EXPECT_LE(check.missing, droppedIn + droppedOut);
    EXPECT_LE(check.unclosed, droppedOut);
    EXPECT_GT(check.answered, 0u);
    EXPECT_GE(engine.deepestWaitDepth, 2);
    EXPECT_LE(engine.deepestWaitDepth, ControllerEngine::kMaxWaitDepth);
    EXPECT_EQ(engine.waitDepth, 0);
    if (kMemoryMeasurable) {
        EXPECT_LT(after - before, 5 * 1024) << before << " KiB before, " << after << " after";
    }
    std::printf(
        "flood: %zu of %zu reports answered in order, %llu input and %llu output drops, "
        "deepest wait %d, resident %ld -> %ld KiB\n",
        check.answered, plan.firstAnswers.size(), static_cast<unsigned long long>(droppedIn),
        static_cast<unsigned long long>(droppedOut), engine.deepestWaitDepth, before, after);
}

// A knob turned as fast as the controller reports (375 a second, every report a pulse) while a
// pad is hit and released about every 100 ms: every hit's note leaves within 20 ms of the hit
// and is ended; without merging, hits waited behind the knob's backlog and were dropped with it.
TEST(JackFlood, PadHitsAreAnsweredPromptlyThroughAKnobFlood) {
    constexpr uint32_t kEvery = 128, kReports = 370, kHitsEvery = 37, kPrompt = kRate / 50;
    PrivateServer server("knob-flood", true);
    const std::string name = UniqueName("knob-flood");
    ScheduledSender sender(server.name(), name + "-tx");
    Recorder recorder(server.name(), name + "-rx", {"daw"}, 1 << 16);
    HostOptions options;
    options.server = server.name();
    options.clientName = UniqueName("orvan-flood");
    options.controllerPorts = "^" + sender.port() + "$";
    options.dawPorts = "^" + recorder.port(0) + "$";
    EngineRunner runner;
    JackHost host(options, runner);
    runner.PostSettings(AllNotes(), std::nullopt);
    host.HostInputCapture(1);
    host.HostInputEvents(1);

    const auto report = [](uint8_t kind, uint8_t byte7, uint8_t byte8) {
        return Bytes{0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
    };
    std::vector<TimedMessage> schedule;
    std::vector<size_t> hits;
    for (uint32_t k = 0; k < kReports; ++k) {
        schedule.push_back({k * kEvery, report(0x49, 0x00, k % 2 ? 0x00 : 0x7F)}); // top, bottom
        if (k % kHitsEvery == 0)
            hits.push_back(schedule.size());
        if (k % kHitsEvery == 0 || k % kHitsEvery == kHitsEvery / 2)
            schedule.push_back({k * kEvery, report(0x45, k % kHitsEvery ? 0x03 : 0x43, 0x64)});
    }
    const std::vector<Recorder::Event> got =
        PlayAndCollect(sender, schedule, recorder, 0, std::numeric_limits<size_t>::max());
    std::vector<uint32_t> ons;
    size_t offs = 0;
    for (const Recorder::Event& e : got) {
        if (e.message() == Bytes{0x90, 3, 0x64})
            ons.push_back(e.frame);
        offs += e.message() == Bytes{0x90, 3, 0};
    }
    ASSERT_EQ(ons.size(), hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        EXPECT_LE(ons[i] - sender.sentFrame(hits[i]), kPrompt) << "hit " << i;
    EXPECT_EQ(offs, hits.size());
    EXPECT_EQ(host.Drops().inputHeld, 0u);
}
