// Note repeat on a JACK transport master's grid: Orvan on private synchronous JACK servers (dummy
// driver, 48 kHz, periods of 128 and 1024 frames) with a timebase master of the bench's own
// rolling at 120 BPM in 4/4. The pedal goes down and pad 1 is held for over 2,000 repeats; each
// repeat's note-on on the music software's side is timed against the nearest step of the
// master's grid, counted from transport frame 0. Every one should be on it: 0 frames of error.
#include "BenchOrvan.h"
#include "BenchStore.h"
#include "MidiClients.h"
#include "PrivateServer.h"
#include "Summary.h"
#include "TimebaseMaster.h"
#include "Wait.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
constexpr uint32_t kRate = 48000;
constexpr int kBeatsPerMinute = 120;
// The fastest rate there is, 1/32 triplets: a step every 2,000 frames, so 2,000 repeats take
// 84 s of real time per period size. 2,000 is a multiple of neither period, so the steps fall at
// ever changing places in the cycle.
constexpr const char* kRepeatRate = "1/32T";
constexpr int kStepsPerWhole = 48;
constexpr size_t kRepeats = 2000;
constexpr uint8_t kPad = 0; // pad 1: note 0 on channel 1
// The hit's frame after the sender starts: odd, so never on a step (steps are 2,000 frames
// apart from transport frame 0, and cycles start on multiples of the period).
constexpr uint32_t kHitAt = 77;

constexpr double stepFrames() {
    return 60.0 * kRate / kBeatsPerMinute * 4 / kStepsPerWhole;
}

struct Figures {
    std::vector<int64_t> errors;   // signed, frames from the nearest step
    std::vector<int64_t> absolute; // |error|
    size_t repeats = 0;
    size_t skipped = 0;     // repeats not on the step after the last one
    size_t overlapping = 0; // note-ons while the last one still sounded
    bool endedLast = false;
    int64_t hitAfterStep = 0;
};

// The pad's notes: each note-on after the hit against the grid, on transport frames.
Figures measure(const std::vector<Recorder::Event>& events, uint32_t zero) {
    Figures f;
    bool sounding = false;
    bool first = true;
    int64_t lastStep = 0;
    const double step = stepFrames();
    for (const Recorder::Event& e : events) {
        const uint8_t status = e.bytes[0] & 0xF0;
        if (e.size != 3 || (status != 0x90 && status != 0x80) || e.bytes[1] != kPad)
            continue;
        if (status == 0x80 || e.bytes[2] == 0) {
            sounding = false;
            continue;
        }
        f.overlapping += sounding ? 1 : 0;
        sounding = true;
        const auto at = static_cast<int64_t>(static_cast<uint32_t>(e.frame - zero));
        const auto index = static_cast<int64_t>(std::llround(static_cast<double>(at) / step));
        const int64_t error = at - std::llround(static_cast<double>(index) * step);
        if (first) {
            lastStep = static_cast<int64_t>(std::floor(static_cast<double>(at) / step));
            f.hitAfterStep = at - std::llround(static_cast<double>(lastStep) * step);
            first = false;
            continue;
        }
        f.skipped += index == lastStep + 1 ? 0 : 1;
        f.errors.push_back(error);
        f.absolute.push_back(std::abs(error));
        ++f.repeats;
        lastStep = index;
    }
    f.endedLast = !sounding;
    return f;
}

bool runPeriod(const std::string& dir, int period, bool wholeTicks) {
    const std::string tag =
        std::to_string(getpid()) + "-" + std::to_string(period) + (wholeTicks ? "w" : "f");
    PrivateServer server("repeat-" + tag, true, period);
    TimebaseMaster master(server.name(), "bench-master-" + tag, kBeatsPerMinute, wholeTicks);
    ScheduledSender sender(server.name(), "bench-tx-" + tag);
    Recorder recorder(server.name(), "bench-rx-" + tag, {"orvan"}, 1 << 14);
    master.start();
    if (!WaitUntil([&] { return master.rolling(); })) {
        std::fprintf(stderr, "the transport did not roll\n");
        return false;
    }
    const std::unique_ptr<ChildProcess> orvan =
        StartOrvan(server.name(), "orvan-bench-" + tag, sender.port(),
                   "^bench-rx-" + tag + ":orvan$", dir + "/orvan-repeat-" + tag + ".log", [&] {
                       return PortConnected(sender.client(), sender.port(), 1) &&
                              PortConnected(sender.client(), recorder.port(0), 1);
                   });
    if (!orvan)
        return false;

    // Pedal down, pad 1 hit; held until the repeats are in, then released and the pedal up.
    sender.play(
        {{0, NativeReport(0x47, 0x00, 0x7F)}, {kHitAt, NativeReport(0x45, 0x40 + kPad, 0x64)}});
    const auto held =
        std::chrono::seconds(static_cast<int>((kRepeats + 10) * stepFrames() / kRate) + 30);
    // The hit's note and one repeat more than asked, each an on and an off.
    WaitUntil([&] { return recorder.count(0) >= 2 * (kRepeats + 2); }, held);
    sender.play({{0, NativeReport(0x45, kPad, 0x00)}, {0, NativeReport(0x47, 0x00, 0x00)}});
    WaitUntil([&] { return sender.done(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Figures f = measure(recorder.events(0), master.zeroFrame());
    orvan->signal(SIGTERM);
    orvan->waitExit(std::chrono::seconds(10));

    const Summary s = Summarize(f.errors);
    const Summary a = Summarize(f.absolute);
    const bool met = f.repeats > kRepeats && a.max == 0 && f.skipped == 0 && f.overlapping == 0 &&
                     f.endedLast && master.zeroMoves() == 0;
    std::printf("  %6d %8s %7zu | %6lld %6lld %6lld | %6lld %6lld | %7zu %7zu %5s | %8lld | %s\n",
                period, wholeTicks ? "whole" : "fraction", f.repeats, static_cast<long long>(a.p50),
                static_cast<long long>(a.p99), static_cast<long long>(a.max),
                static_cast<long long>(s.min), static_cast<long long>(s.max), f.skipped,
                f.overlapping, f.endedLast ? "yes" : "NO", static_cast<long long>(f.hitAfterStep),
                met ? "met" : "NOT MET");
    std::printf("         master: %llu rolling cycles, transport frame 0 moved %llu times; the "
                "frame read minus the frame its bar/beat/tick stand for: %lld to %lld\n",
                static_cast<unsigned long long>(master.rollingCycles()),
                static_cast<unsigned long long>(master.zeroMoves()),
                static_cast<long long>(master.lagMin()), static_cast<long long>(master.lagMax()));
    std::fflush(stdout);
    return met;
}
} // namespace

int main(int argc, char** argv) {
    const std::string dir = MakeConfigHome();
    QCoreApplication app(argc, argv);
    WriteSettingsStore(dir, {{"NoteRepeatControl", "Pedal"}, {"NoteRepeatRate", kRepeatRate}});
    std::printf("Note repeat on a rolling JACK transport master (%d BPM, 4/4, %d ticks a beat): "
                "pedal down, pad 1 held, %s (a step every %.0f frames at %u Hz); each repeat's "
                "note-on against the nearest step from transport frame 0\n",
                kBeatsPerMinute, TimebaseMaster::kTicksPerBeat, kRepeatRate, stepFrames(), kRate);
    std::printf("  %6s %8s %7s | %20s | %13s | %7s %7s %5s | %8s |\n", "period", "ticks", "repeats",
                "|error| p50 p99 max", "error min max", "skipped", "overlap", "ended", "hit+");
    bool met = true;
    // Masters that give the tick's fraction, then masters that give whole ticks only.
    for (bool wholeTicks : {false, true})
        for (int period : {128, 1024})
            met = runPeriod(dir, period, wholeTicks) && met;
    std::printf("  goal: over %zu repeats each, every one on the grid (0 frames), none skipped, "
                "each ended before the next: %s\n",
                kRepeats, met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
