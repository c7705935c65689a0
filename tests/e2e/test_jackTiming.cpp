#include "JackFixture.h"
#include "MidiClients.h"

// What is sent while an input is handled goes out one period after the input's own frame,
// wherever in its cycle the input came.
TEST(JackAnswerTiming, AnAnswerKeepsTheFrameOfItsInputOnePeriodLater) {
    constexpr size_t kInputs = 16;
    constexpr int32_t kPeriod = 128; // the shared server's
    const std::string name = UniqueName("timing");
    ScheduledSender sender(SharedServer().name(), name + "-tx");
    Recorder recorder(SharedServer().name(), name + "-rx", {"daw"}, 1024);
    HostOptions options;
    options.server = SharedServer().name();
    options.clientName = UniqueName("orvan-timing");
    options.controllerPorts = "^" + sender.port() + "$";
    options.dawPorts = "^" + recorder.port(0) + "$";
    JackHost host(options);
    int handled = 0;
    MidiHost::Events events;
    events.SysExInput = [&](const std::string&) { host.HostSendMessage(-1, 0x90, handled++, 100); };
    host.setEvents(std::move(events));
    host.HostInputCapture(1);
    host.HostInputEvents(1);

    std::vector<TimedMessage> schedule;
    for (uint32_t k = 0; k < kInputs; ++k)
        schedule.push_back({k * 640 + k * 37 % kPeriod, HexBytes("F0 7D F7")});
    const std::vector<Recorder::Event> got = PlayAndCollect(sender, schedule, recorder, 0, kInputs);
    ASSERT_EQ(got.size(), kInputs);
    size_t onTime = 0;
    for (size_t k = 0; k < kInputs; ++k) {
        EXPECT_EQ(got[k].message(), (Bytes{0x90, static_cast<uint8_t>(k), 100}));
        const auto latency = static_cast<int32_t>(got[k].frame - sender.sentFrame(k));
        EXPECT_GE(latency, kPeriod) << k;
        onTime += latency == kPeriod;
    }
    // A loaded machine may answer late now and then; a late answer goes out at once.
    EXPECT_GE(onTime, kInputs / 2);
}
