// Timing on the wire: every answer leaves at its input's own frame, and a pulse lasts exactly
// its length in frames.
#include "JackFixture.h"
#include "MidiClients.h"

namespace {
constexpr int32_t kPeriod = 128; // the private server's

// On a synchronous server of its own, so that a late cycle delays everything instead of having
// a buffer read twice.
struct Rig {
    Rig(const std::string& name, bool bothWays)
        : server("timing", true), sender(server.name(), name + "-tx"),
          recorder(server.name(), name + "-rx", {"daw"}, 1024, bothWays) {
        HostOptions options;
        options.server = server.name();
        options.clientName = UniqueName("orvan-timing");
        options.controllerPorts = "^" + sender.port() + "$";
        options.dawPorts = "^" + name + "-rx:";
        host = std::make_unique<JackHost>(options, runner);
        runner.PostSettings(AllNotes(), std::nullopt);
        host->HostInputCapture(1);
        host->HostInputEvents(1);
    }
    PrivateServer server;
    ScheduledSender sender;
    Recorder recorder;
    EngineRunner runner;
    std::unique_ptr<JackHost> host;
};

Bytes report(uint8_t kind, uint8_t byte7, uint8_t byte8) {
    return {0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
}
} // namespace

// Pad hits anywhere in their cycles, with the music software wired one way and both ways (its
// output fed back into Orvan would otherwise put Orvan in a graph cycle): each note leaves at its
// hit's own frame.
TEST(JackAnswerTiming, EveryAnswerLeavesAtTheFrameOfItsInput) {
    constexpr size_t kHits = 16;
    for (bool bothWays : {false, true}) {
        SCOPED_TRACE(bothWays ? "wired both ways" : "wired one way");
        Rig rig(UniqueName("timing"), bothWays);
        std::vector<TimedMessage> schedule;
        for (uint32_t k = 0; k < kHits; ++k)
            schedule.push_back({k * 640 + k * 37 % kPeriod, report(0x45, 0x40 + k, 0x10 + k)});
        const std::vector<Recorder::Event> got =
            PlayAndCollect(rig.sender, schedule, rig.recorder, 0, kHits);
        ASSERT_EQ(got.size(), kHits);
        for (uint32_t k = 0; k < kHits; ++k) {
            EXPECT_EQ(got[k].message(),
                      (Bytes{0x90, static_cast<uint8_t>(k), static_cast<uint8_t>(0x10 + k)}));
            EXPECT_EQ(got[k].frame, rig.sender.sentFrame(k)) << k;
        }
    }
}

// Bank button 2 (a pulse of 6 ms) and knob 1 (4 ms): note-on to note-off in exact frames.
TEST(JackPulses, LastExactlyTheirLengthInFrames) {
    Rig rig(UniqueName("pulses"), false);
    const std::vector<TimedMessage> schedule = {{0, report(0x48, 0x11, 0x7F)},
                                                {5000, report(0x49, 0x00, 0x40)}};
    const std::vector<Recorder::Event> got =
        PlayAndCollect(rig.sender, schedule, rig.recorder, 0, 4);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].message(), (Bytes{0x90, 17, 127}));
    EXPECT_EQ(got[1].message(), (Bytes{0x90, 17, 0}));
    EXPECT_EQ(got[1].frame - got[0].frame, 288u);
    EXPECT_EQ(got[0].frame, rig.sender.sentFrame(0));
    EXPECT_EQ(got[2].message(), (Bytes{0x90, 21, 127}));
    EXPECT_EQ(got[3].message(), (Bytes{0x90, 21, 0}));
    EXPECT_EQ(got[3].frame - got[2].frame, 192u);
}
