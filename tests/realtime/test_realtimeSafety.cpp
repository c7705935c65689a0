// The process callback's path never allocates: every allocation in this program is counted while
// the engine's cycles run through reports of every kind, feedback, the trigger, the XY pad,
// commands, note repeat and the ending.
#include "host/EngineRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <vector>

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void note() {
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

extern "C" void* malloc(size_t size) {
    note();
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    note();
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* memory, size_t size) {
    note();
    return __libc_realloc(memory, size);
}
void* operator new(size_t size) {
    note();
    if (void* memory = __libc_malloc(size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}

namespace {
class Discard final : public EngineRunner::CycleOutput {
public:
    bool write(EngineRunner::Destination, uint32_t, const uint8_t*, size_t) override {
        ++written;
        return true;
    }
    long written = 0;
};

std::vector<uint8_t> report(uint8_t kind, uint8_t byte7, uint8_t byte8) {
    return {0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
}
} // namespace

TEST(RealtimeSafety, TheCycleNeverAllocates) {
    EngineRunner runner;
    std::vector<std::vector<uint8_t>> inputs;
    for (uint8_t pad = 0; pad < 16; ++pad) {
        inputs.push_back(report(0x45, 0x40 + pad, 0x64));
        inputs.push_back(report(0x45, pad, 0x00));
    }
    for (uint8_t sw :
         {0x00, 0x01, 0x09, 0x0A, 0x02, 0x0B, 0x0C, 0x0F, 0x03, 0x0D, 0x0E, 0x10, 0x11, 0x12}) {
        inputs.push_back(report(0x48, sw, 0x7F));
        inputs.push_back(report(0x45, 0x45, 0x30)); // a pad hit while the button is held
        inputs.push_back(report(0x48, sw, 0x00));
    }
    for (uint8_t value : {0x10, 0x7F, 0x00, 0x40})
        for (uint8_t knob : {0x00, 0x01})
            inputs.push_back(report(0x49, knob, value));
    inputs.push_back(report(0x43, 0x00, 0x7F));
    inputs.push_back(report(0x43, 0x00, 0x01));
    inputs.push_back(report(0x47, 0x00, 0x7F));
    inputs.push_back(report(0x47, 0x00, 0x00));
    for (const std::vector<uint8_t>& shortMessage :
         std::vector<std::vector<uint8_t>>{{0x90, 5, 100},
                                           {0x80, 5, 0},
                                           {0x90, 81, 127},
                                           {0xB0, 126, 40},
                                           {0xB0, 127, 90},
                                           {0xF8}})
        inputs.push_back(shortMessage);

    ControllerSettings settings;
    settings.intJogWheelLeft = 40;
    settings.intJogWheelRight = 41;
    PadRecall recall;
    recall.padMode[5][0] = ModeText("FDB");
    recall.padState[5][0] = true;
    Discard out;
    Frame frame = 0;
    const auto cycles = [&](int count, bool withInput) {
        for (int c = 0; c < count; ++c, frame += 128) {
            runner.BeginCycle(frame, 128, out);
            if (withInput)
                for (size_t i = 0; i < inputs.size(); ++i)
                    runner.Input(i % 2 ? EngineRunner::FromDaw : EngineRunner::FromController,
                                 frame + i % 128, inputs[i].data(), inputs[i].size());
            runner.EndCycle();
        }
    };
    // Every control mapped, on channels of its own, shaped velocities.
    Mapping full;
    for (int pad = 0; pad < 16; ++pad)
        for (int bank = 0; bank < 3; ++bank)
            full.pads[pad][bank] = {{static_cast<MessageKind>(1 + pad % 3),
                                     static_cast<int8_t>(pad + 36), static_cast<int8_t>(bank)},
                                    pad % 2 == 0,
                                    {VelocityCurve::Soft, 20, 110, 10, 0}};
    full.velocity.curve = VelocityCurve::Hard;
    full.knobs = {MappedMessage{MessageKind::Control, 74, 2}, {MessageKind::Control, 75, 2}};
    full.xyPad = full.knobs;
    full.pedal = {MessageKind::Control, 64, 3};
    full.jogWheel = {MappedMessage{MessageKind::Note, 50, 4}, {MessageKind::Control, 51, 4}};
    runner.SetInputOn(true);
    for (const char* kind : {"MIDI", "CC"}) {
        for (SettingText* group : {&settings.strFlashMidiCC, &settings.strKnobMode,
                                   &settings.strJogWheelMode, &settings.strBankSelectMidiCC})
            *group = kind;
        settings.bXYPadTap = !settings.bXYPadTap;
        runner.PostSettings(settings, 200);
        recall.settings = settings;
        runner.PostNativeMode(recall);
        runner.PostResendNativeState();
        counting = true;
        cycles(60, true);
        runner.PostMapping(*kind == 'M' ? full : Mapping{});
        runner.PostPadMode(0, 3, "TOGGLE");
        cycles(30, true);
        runner.PostScene(*kind == 'M' ? Mapping{} : full, recall, "Kit B");
        cycles(30, true);
        cycles(400, false); // pulses, the display's and the tap's timers run out
        counting = false;
    }
    // Note repeat latched, on the own tempo and then on a rolling transport's grid; its control
    // held with the jog wheel turned one way and back, tempo taps.
    settings.intRepeatRate = 24;
    settings.intRepeatSwing = 300;
    settings.intRepeatControl = static_cast<int16_t>(RepeatControl::NoteButton);
    settings.intTapTempoControl = static_cast<int16_t>(RepeatControl::Pedal);
    const std::map<int, std::vector<uint8_t>> controls = {
        {100, report(0x48, 0x03, 0x7F)}, {101, report(0x43, 0x00, 0x7F)},
        {103, report(0x43, 0x00, 0x01)}, {102, report(0x47, 0x00, 0x7F)},
        {110, report(0x47, 0x00, 0x7F)}, {120, report(0x48, 0x03, 0x00)}};
    runner.PostSettings(settings, std::nullopt);
    runner.PostRepeatLatch(true);
    const std::vector<uint8_t> hit = report(0x45, 0x43, 0x64); // a mapped note
    const long before = out.written;
    counting = true;
    for (int c = 0; c < 400; ++c, frame += 128) {
        TransportPosition position;
        position.rolling = c >= 200;
        position.tick = c % 15 * 128.0;
        position.frame = frame;
        runner.Transport(position);
        runner.BeginCycle(frame, 128, out);
        if (c == 1 || c == 250)
            runner.Input(EngineRunner::FromController, frame + 3, hit.data(), hit.size());
        if (const auto control = controls.find(c); control != controls.end())
            runner.Input(EngineRunner::FromController, frame + 5, control->second.data(),
                         control->second.size());
        runner.EndCycle();
    }
    counting = false;
    EXPECT_GT(out.written, before + 40);
    runner.PostEnd();
    counting = true;
    cycles(3, true);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_GT(out.written, 1000);
    EXPECT_EQ(runner.Drops().outputInvalid, 0u);
    // The flood merged knob reports as they waited, and went past the held input's bounds too.
    EXPECT_GT(runner.Drops().inputMerged, 0u);
    EXPECT_GT(runner.Drops().inputHeld, 0u);
}
