// Orvan on private synchronous JACK servers (dummy driver, 48 kHz, periods of 128 and 1024
// frames), with the music software wired one way and both ways: the latency from a controller
// report to the note it makes, against a passthrough client in the same run as the floor; the
// length of pulsed notes on the wire; at 128 frames one way, resident memory idle and after a
// flood of reports.
#include "BenchOrvan.h"
#include "BenchStore.h"
#include "Flood.h"
#include "MidiClients.h"
#include "Passthrough.h"
#include "PrivateServer.h"
#include "ResidentMemory.h"
#include "Summary.h"
#include "Wait.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <regex>
#include <thread>

namespace {
constexpr uint32_t kRate = 48000;
constexpr size_t kLatencyReports = 10000;
constexpr uint32_t kLatencySpacing = 120; // frames: the window of each report
constexpr size_t kPulsesPerKind = 200;
constexpr uint32_t kPulseSpacing = 672; // 14 ms: one pulse ends before the next starts

// The run's processes and clients: Orvan between the sender and the recorder's port 0, the
// passthrough between the sender and port 1.
struct Rig {
    int64_t period;
    ScheduledSender& sender;
    Recorder& recorder;
    pid_t orvan;
};
enum RecorderPort { FromOrvan, FromPassthrough };

std::vector<Recorder::Event> playAndCollect(Rig& rig, std::vector<TimedMessage> schedule,
                                            size_t answers) {
    return PlayAndCollect(rig.sender, std::move(schedule), rig.recorder, FromOrvan, answers);
}

struct Matched {
    std::vector<int64_t> latencies;
    size_t lost = 0;
    size_t unexpected = 0;
};

// Answers against the expected message of each report, in order; a report without its answer
// is lost, an answer that fits no report is unexpected.
Matched match(const ScheduledSender& sender, const std::vector<Bytes>& expected,
              const std::vector<Recorder::Event>& answers) {
    constexpr size_t kLookAhead = 64;
    Matched m;
    size_t next = 0;
    for (const Recorder::Event& answer : answers) {
        size_t found = next;
        const size_t end = std::min(expected.size(), next + kLookAhead);
        while (found < end && expected[found] != answer.message())
            ++found;
        if (found == end) {
            ++m.unexpected;
            continue;
        }
        m.lost += found - next;
        m.latencies.push_back(static_cast<int32_t>(answer.frame - sender.sentFrame(found)));
        next = found + 1;
    }
    m.lost += expected.size() - next;
    return m;
}

void printLatencyRow(const char* name, const Matched& m) {
    std::printf("  %-12s %s | %5zu %5zu\n", name,
                FramesAndTime(Summarize(m.latencies), kRate).c_str(), m.lost, m.unexpected);
}

bool latencyPhase(Rig& rig) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<uint32_t> jitter(0, kLatencySpacing - 1);
    std::vector<TimedMessage> schedule;
    std::vector<Bytes> notes;
    std::vector<Bytes> reports;
    for (size_t k = 0; k < kLatencyReports; ++k) {
        const auto pad = static_cast<uint8_t>(k / 2 % 16);
        const bool hit = k % 2 == 0;
        const Bytes sent = NativeReport(0x45, hit ? 0x40 + pad : pad, hit ? 0x64 : 0x00);
        // Random frames, in order: each report somewhere in a window of its own.
        schedule.push_back({static_cast<uint32_t>(k * kLatencySpacing + jitter(random)), sent});
        notes.push_back({0x90, pad, static_cast<uint8_t>(hit ? 0x64 : 0x00)});
        reports.push_back(sent);
    }
    const std::vector<Recorder::Event> fromOrvan =
        playAndCollect(rig, std::move(schedule), kLatencyReports);
    const Matched orvan = match(rig.sender, notes, fromOrvan);
    std::vector<Recorder::Event> fromThru = rig.recorder.events(FromPassthrough);
    const Matched floor = match(rig.sender, reports, fromThru);

    std::printf("\nLatency: %zu pad reports (hit, release, ...) at random frames, report to note\n",
                kLatencyReports);
    std::printf("  %-12s %6s %6s %6s %6s | %8s %8s %8s %8s | %5s %5s\n", "", "min", "p50", "p99",
                "max", "min", "p50", "p99", "max", "lost", "unexp");
    std::printf("  %-12s %27s | %35s |\n", "", "frames", "microseconds");
    printLatencyRow("passthrough", floor);
    printLatencyRow("orvan", orvan);
    const Summary o = Summarize(orvan.latencies);
    const Summary f = Summarize(floor.latencies);
    std::printf("  Orvan adds: p50 %lld, p99 %lld, max %lld frames over the floor\n",
                static_cast<long long>(o.p50 - f.p50), static_cast<long long>(o.p99 - f.p99),
                static_cast<long long>(o.max - f.max));
    const bool met = o.p50 == f.p50 && o.p99 == f.p99 && o.max == f.max && orvan.lost == 0 &&
                     orvan.unexpected == 0;
    std::printf("  goal (the floor's p50, p99 and max: 0 frames added; none lost): %s\n",
                met ? "met" : "NOT MET");
    return met;
}

// Pulsed notes of the bank buttons, knob 1 and the jog wheel, one after the other.
bool pulsePhase(Rig& rig) {
    struct Kind {
        const char* name;
        double minimumMs;
        std::vector<uint8_t> notes;
    };
    const Kind kinds[] = {{"bank buttons (wait 5)", 6.0, {16, 17, 18}},
                          {"knob 1 (wait 3)", 4.0, {20, 22}},
                          {"jog wheel (wait 3)", 4.0, {40, 41}}};
    std::vector<TimedMessage> schedule;
    uint32_t frame = 0;
    for (size_t i = 0; i < kPulsesPerKind; ++i, frame += kPulseSpacing) {
        const auto bankSwitch = static_cast<uint8_t>(0x10 + (i + 1) % 3);
        schedule.push_back({frame, NativeReport(0x48, bankSwitch, 0x7F)});
        schedule.push_back({frame + kPulseSpacing / 2, NativeReport(0x48, bankSwitch, 0x00)});
    }
    for (size_t i = 0; i < kPulsesPerKind; ++i, frame += kPulseSpacing)
        schedule.push_back({frame, NativeReport(0x49, 0x00, i % 2 ? 0x00 : 0x7F)});
    for (size_t i = 0; i < kPulsesPerKind; ++i, frame += kPulseSpacing)
        schedule.push_back({frame, NativeReport(0x43, 0x00, i % 2 ? 0x01 : 0x7F)});
    // Back to bank 1 for the flood.
    schedule.push_back({frame, NativeReport(0x48, 0x10, 0x7F)});
    schedule.push_back({frame + kPulseSpacing / 2, NativeReport(0x48, 0x10, 0x00)});
    const std::vector<Recorder::Event> got =
        playAndCollect(rig, std::move(schedule), 2 * (3 * kPulsesPerKind + 1));

    std::map<uint8_t, uint32_t> noteOn;
    std::map<uint8_t, std::vector<int64_t>> lengths;
    for (const Recorder::Event& e : got) {
        if (e.size != 3 || e.bytes[0] != 0x90)
            continue;
        if (e.bytes[2] == 127)
            noteOn[e.bytes[1]] = e.frame;
        else if (e.bytes[2] == 0 && noteOn.count(e.bytes[1]))
            lengths[e.bytes[1]].push_back(static_cast<int32_t>(e.frame - noteOn[e.bytes[1]]));
    }
    bool allMet = true;
    std::printf("\nPulse lengths on the wire, note-on to note-off\n");
    std::printf("  %-22s %5s %6s %6s %6s %6s | %8s %8s %8s %8s | %s\n", "", "count", "min", "p50",
                "p99", "max", "min", "p50", "p99", "max", "goal");
    std::printf("  %-22s %5s %27s | %35s |\n", "", "", "frames", "milliseconds");
    for (const Kind& kind : kinds) {
        std::vector<int64_t> all;
        for (uint8_t note : kind.notes)
            all.insert(all.end(), lengths[note].begin(), lengths[note].end());
        const Summary s = Summarize(all);
        const auto length = static_cast<int64_t>(kind.minimumMs * kRate / 1000);
        const bool met =
            s.count >= kPulsesPerKind && s.min == length && s.p99 == length && s.max == length;
        allMet = allMet && met;
        std::printf("  %-22s %5zu %s | exactly %lld frames: %s\n", kind.name, s.count,
                    FramesAndTime(s, kRate, true).c_str(), static_cast<long long>(length),
                    met ? "met" : "NOT MET");
    }
    return allMet;
}

// Floods of one continuous control, 375 reports a second and each a pulse, with pad hits in
// them: how late each hit's note leaves, whether each was ended, and how long the control's pulses
// trail the flood.
bool continuousFloodPhase(Rig& rig) {
    constexpr uint32_t kEvery = 128;             // 375 reports a second
    constexpr uint32_t kHitsEvery = 37 * kEvery; // about 100 ms
    constexpr int64_t kPrompt = kRate / 50;      // 20 ms
    struct Flood {
        const char* name;
        uint8_t kind;
        int seconds;
        bool hitsThroughout; // else one hit at the flood's end
    };
    const Flood floods[] = {{"knob 1, 1 s", 0x49, 1, false},
                            {"knob 1, 10 s", 0x49, 10, false},
                            {"jog wheel, 1 s", 0x43, 1, false},
                            {"jog wheel, 10 s", 0x43, 10, false},
                            {"knob 1, 3 s, hits", 0x49, 3, true}};
    std::printf("\nPad hits in floods of one control (375 reports/s, each a pulse): hit to note\n");
    std::printf("  %-18s %4s %5s %5s | %6s %6s %6s %6s | %8s | %s\n", "", "hits", "heard", "ended",
                "min", "p50", "p99", "max", "trail ms", "goal");
    bool allMet = true;
    for (const Flood& flood : floods) {
        const uint32_t end = static_cast<uint32_t>(flood.seconds) * kRate;
        std::vector<TimedMessage> schedule;
        std::vector<std::pair<size_t, Bytes>> hits; // schedule index, the note it should make
        uint8_t velocity = 0;
        const auto padAt = [&](uint32_t frame) {
            const auto pad = static_cast<uint8_t>(hits.size() % 16);
            velocity = static_cast<uint8_t>(velocity % 126 + 1);
            hits.emplace_back(schedule.size(), Bytes{0x90, pad, velocity});
            schedule.push_back({frame, NativeReport(0x45, 0x40 + pad, velocity)});
            return pad;
        };
        std::vector<std::pair<uint32_t, uint8_t>> releases;
        for (uint32_t frame = 0; frame < end; frame += kEvery) {
            const bool odd = frame / kEvery % 2 != 0;
            // Knob 1 at its top and bottom in turn: every report a pulse.
            schedule.push_back(
                {frame, NativeReport(flood.kind, 0x00, flood.kind == 0x43 || !odd ? 0x7F : 0x00)});
            if (!releases.empty() && releases.front().first <= frame) {
                schedule.push_back({frame, NativeReport(0x45, releases.front().second, 0x00)});
                releases.erase(releases.begin());
            }
            if (flood.hitsThroughout && frame % kHitsEvery == 0)
                releases.emplace_back(frame + kHitsEvery / 2, padAt(frame));
        }
        if (!flood.hitsThroughout)
            releases.emplace_back(end + kHitsEvery / 2, padAt(end - kEvery + 1));
        for (const auto& [frame, pad] : releases)
            schedule.push_back({std::max(frame, end), NativeReport(0x45, pad, 0x00)});
        const std::vector<Recorder::Event> got =
            playAndCollect(rig, schedule, std::numeric_limits<size_t>::max());

        std::vector<int64_t> latencies;
        size_t ended = 0;
        int64_t trail = 0;
        const uint32_t floodEnd = rig.sender.sentFrame(0) + end;
        for (const auto& [index, note] : hits) {
            const uint32_t sent = rig.sender.sentFrame(index);
            bool heard = false;
            for (const Recorder::Event& e : got) {
                if (!heard && e.message() == note && e.frame >= sent) {
                    latencies.push_back(static_cast<int64_t>(e.frame - sent));
                    heard = true;
                } else if (heard && e.message() == Bytes{0x90, note[1], 0x00}) {
                    ++ended;
                    break;
                }
            }
        }
        for (const Recorder::Event& e : got)
            if (e.size == 3 && e.bytes[0] == 0x90 && e.bytes[2] == 0x7F && e.bytes[1] != 64)
                trail = std::max<int64_t>(trail, static_cast<int32_t>(e.frame - floodEnd));
        const Summary s = Summarize(latencies);
        const bool met =
            latencies.size() == hits.size() && ended == hits.size() && s.max <= kPrompt;
        allMet = allMet && met;
        std::printf("  %-18s %4zu %5zu %5zu | %6lld %6lld %6lld %6lld | %8.1f | %s\n", flood.name,
                    hits.size(), latencies.size(), ended, static_cast<long long>(s.min),
                    static_cast<long long>(s.p50), static_cast<long long>(s.p99),
                    static_cast<long long>(s.max), trail * 1000.0 / kRate, met ? "met" : "NOT MET");
    }
    std::printf("  goal: every hit heard within %lld frames (20 ms) and ended; frames above\n",
                static_cast<long long>(kPrompt));
    return allMet;
}

// Drops Orvan reported on its standard error: input (too long, no room to wait, queue full) and
// output (buffer full, not valid MIDI).
std::pair<uint64_t, uint64_t> reportedDrops(const std::string& log) {
    uint64_t in = 0;
    uint64_t out = 0;
    const std::regex report(R"(orvan: messages dropped since the last report: (\d+) too long, )"
                            R"((\d+) no room to wait, (\d+) queue full, (\d+) output full, )"
                            R"((\d+) not valid MIDI)");
    for (std::sregex_iterator it(log.begin(), log.end(), report), end; it != end; ++it) {
        in += std::stoull((*it)[1]) + std::stoull((*it)[2]) + std::stoull((*it)[3]);
        out += std::stoull((*it)[4]) + std::stoull((*it)[5]);
    }
    return {in, out};
}

void floodPhase(Rig& rig, const std::string& log, long idleKiB) {
    constexpr int kRatePerSecond = 3500;
    constexpr int kSeconds = 20;
    const FloodPlan plan = MakeFlood(kRatePerSecond, kSeconds, kRate, 0);
    const auto started = std::chrono::steady_clock::now();
    const std::vector<Recorder::Event> got = playAndCollect(rig, plan.reports, plan.answerCount());
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::vector<Bytes> messages;
    for (const Recorder::Event& e : got)
        messages.push_back(e.message());
    const FloodCheck check = CheckFlood(plan, messages);
    const auto [droppedIn, droppedOut] = reportedDrops(ReadFile(log));
    std::printf("\nFlood: %d reports/s for %d s (pad hits and releases, bursts of knob pulses)\n",
                kRatePerSecond, kSeconds);
    std::printf("  %zu reports, %zu answered in order, %zu missing, %zu out of order, %zu "
                "pulses unended; Orvan reported %llu input and %llu output drops; all answered "
                "after %.1f s\n",
                plan.reports.size(), check.answered, check.missing, check.disordered,
                check.unclosed, static_cast<unsigned long long>(droppedIn),
                static_cast<unsigned long long>(droppedOut), took);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long afterKiB = ResidentKiB(rig.orvan);
    std::printf("\nResident memory of orvan: idle %.1f MiB, after the flood %.1f MiB (%+.1f MiB)\n",
                idleKiB / 1024.0, afterKiB / 1024.0, (afterKiB - idleKiB) / 1024.0);
}

// One server, Orvan and the clients around it. With bothWays the recorder plays music software
// that sends what it gets straight back into Orvan's feedback input.
bool runConfiguration(const std::string& dir, int64_t period, bool bothWays, bool flood) {
    const std::string tag =
        std::to_string(getpid()) + "-" + std::to_string(period) + (bothWays ? "-both" : "-one");
    PrivateServer server("bench-" + tag, true, static_cast<int>(period));
    ScheduledSender sender(server.name(), "bench-tx-" + tag);
    Recorder recorder(server.name(), "bench-rx-" + tag, {"orvan", "thru"}, 1 << 19, bothWays);
    Passthrough thru(server.name(), "bench-thru-" + tag);
    ConnectPorts(sender.client(), sender.port(), thru.port("in"));
    ConnectPorts(sender.client(), thru.port("out"), recorder.port(FromPassthrough));

    const std::string log = dir + "/orvan-" + tag + ".log";
    const std::string daw = "^bench-rx-" + tag + ":(orvan" + (bothWays ? "|echo" : "") + ")$";
    const std::unique_ptr<ChildProcess> orvan =
        StartOrvan(server.name(), "orvan-bench-" + tag, sender.port(), daw, log, [&] {
            return PortConnected(sender.client(), sender.port(), 2) &&
                   PortConnected(sender.client(), recorder.port(FromOrvan), 1) &&
                   (!bothWays || PortConnected(sender.client(), recorder.echoPort(), 1));
        });
    if (!orvan)
        return false;
    const long idleKiB = ResidentKiB(orvan->pid());

    std::printf("\n=== %lld-frame periods (%.2f ms), music software wired %s ===\n",
                static_cast<long long>(period), period * 1000.0 / kRate,
                bothWays ? "both ways" : "one way");
    Rig rig{period, sender, recorder, orvan->pid()};
    bool met = latencyPhase(rig);
    met = pulsePhase(rig) && met;
    if (flood) {
        met = continuousFloodPhase(rig) && met;
        floodPhase(rig, log, idleKiB);
    }
    if (recorder.overflow() > 0)
        std::printf("note: the recorder ran out of room for %llu events\n",
                    static_cast<unsigned long long>(recorder.overflow()));
    std::fflush(stdout);
    orvan->signal(SIGTERM);
    orvan->waitExit(std::chrono::seconds(10));
    return met;
}
} // namespace

int main(int argc, char** argv) {
    const std::string dir = MakeConfigHome();
    QCoreApplication app(argc, argv);
    WriteSettingsStore(dir, {{"KnobSends", "MIDI"},
                             {"JogWheelSends", "MIDI"},
                             {"BankSelectMode", "MIDI"},
                             {"FlashMode", "MIDI"}});
    std::printf("Orvan on private synchronous JACK servers: dummy driver, %u Hz\n", kRate);
    bool met = true;
    for (int64_t period : {128, 1024})
        for (bool bothWays : {false, true})
            met = runConfiguration(dir, period, bothWays, period == 128 && !bothWays) && met;
    std::printf("\nEvery goal %s\n", met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
