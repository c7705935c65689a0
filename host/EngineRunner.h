#pragma once

#include "engine/ControllerEngine.h"
#include "host/EngineSnapshot.h"
#include "host/MidiAssembler.h"
#include "host/MonitoredMessage.h"
#include "host/SpscRing.h"
#include "host/TripleBuffer.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Runs the controller engine inside the server's process callback, a cycle at a time: input is
// assembled into whole messages and handled at its own frame, and every answer is written at the
// frame it was made, in the same cycle. The window reaches the engine only through this class:
// its commands wait in a lock-free queue and apply at the start of the next cycle, and it reads
// the engine's state from snapshots. Nothing on the process side allocates, locks or blocks.
//
// Time is the server's frames. A cycle that came late or never ran moves the clock on: what fell
// due meanwhile runs at the start of the next cycle that runs, in order, never early, so a pulse
// is never shorter than its length. While the server freewheels, the clock moves on with every
// cycle it runs, and waits and timers keep their lengths in frames.
class EngineRunner final : private MidiOut {
public:
    enum Source : uint8_t { FromController, FromDaw, FromWindow };
    enum Destination : uint8_t { ToController, ToDaw };

    // Where one cycle's output goes: the transport's buffers. Offsets never decrease per
    // destination; false when the message does not fit.
    class CycleOutput {
    public:
        virtual ~CycleOutput() = default;
        virtual bool write(Destination to, uint32_t offset, const uint8_t* bytes, size_t size) = 0;
    };

    // tap, when given, sees every message the engine sends, as it sends it (tests).
    explicit EngineRunner(MidiOut* tap = nullptr);
    ~EngineRunner() override;
    EngineRunner(const EngineRunner&) = delete;
    EngineRunner& operator=(const EngineRunner&) = delete;

    // The engine itself: for set-up before the first cycle, and for the process thread.
    ControllerEngine& engine() { return *engine_; }
    // The transport's: the server's rate, set while no cycle runs.
    void SetSampleRate(uint32_t rate) { engine_->SetSampleRate(rate); }

    // Window thread. False when the queue is full and the command was not taken.
    bool PostNativeMode(const std::optional<PadRecall>& recall);
    bool PostSettings(const ControllerSettings& settings, std::optional<int> tapIntervalMs);
    // The player's mapping, from the next cycle on.
    bool PostMapping(const Mapping& mapping);
    // A scene: every note ends, then its mapping, settings and pads apply and, in native mode,
    // the controller shows them and the display its name.
    bool PostScene(const Mapping& mapping, const PadRecall& pads, std::string_view name);
    // One pad's mode, set from the window.
    bool PostPadMode(int16_t bank, int16_t pad, std::string_view mode);
    // Note repeat latched on or off from the window.
    bool PostRepeatLatch(bool on);
    // A controller was connected: when native mode is on, it gets the three entry messages and
    // the LED packet of the moment.
    bool PostResendNativeState();
    // Input the window makes (the virtual controller): whole messages, handled at the start of
    // the next cycle like the controller's own, if that cycle belongs to the same attachment to a
    // server: what is made while none is attached is not played later.
    bool PostInput(const uint8_t* bytes, size_t size);
    // The ending: every pulse in flight ends with its note-off, then every other note still
    // sounding (a pad held or latched on), then nothing more is handled.
    bool PostEnd();
    // Whether input reaches the engine at all.
    void SetInputOn(bool on) { inputOn_.store(on, std::memory_order_release); }
    // The transport's, before it starts a client: nothing is handled or sent and the clock stands
    // still until Linked(), since the new client's connections are not made yet.
    void HoldUntilLinked() {
        attachment_.fetch_add(1, std::memory_order_release);
        linked_.store(false, std::memory_order_release);
    }
    // The transport's, once the connections are made: the next cycle first ends every wait still
    // under way, so that each pulse in flight when a server went away ends with its note-off,
    // then goes on.
    void Linked() { linked_.store(true, std::memory_order_release); }
    // The newest snapshot when one was taken since the last call, else nullptr.
    const EngineSnapshot* TakeSnapshot();
    DropCounts Drops() const;
    // The messages handled and sent since the last call, oldest first, for the window's
    // monitor; what did not fit while the window was away is counted in MonitorOverflow().
    std::vector<MonitoredMessage> TakeMonitored();
    uint64_t MonitorOverflow() const { return monitorOverflow_.load(std::memory_order_relaxed); }
    // Cycles run so far.
    uint64_t Cycles() const { return cycles_.load(std::memory_order_acquire); }

    // Process thread, once a cycle: Transport (when the host knows one), BeginCycle, Input in
    // frame order, EndCycle. Without a position for the cycle, the transport counts as stopped.
    void Transport(const TransportPosition& position) { transport_ = position; }
    void BeginCycle(Frame start, uint32_t nframes, CycleOutput& output);
    void Input(Source source, Frame frame, const uint8_t* bytes, size_t size);
    void EndCycle();

private:
    enum class Command : uint8_t {
        NativeMode,
        Settings,
        Mapping,
        Scene,
        PadMode,
        RepeatLatch,
        Resend,
        Input,
        End
    };
    struct CommandHeader {
        Command command;
        uint32_t size;
        uint32_t attachment; // when it was posted
    };
    struct SettingsCommand {
        ControllerSettings settings;
        int tapIntervalMs; // -1: unchanged
    };
    struct SceneCommand {
        Mapping mapping;
        PadRecall pads;
        ModeText name;
    };
    struct PadModeCommand {
        int16_t bank;
        int16_t pad;
        ModeText mode;
    };

    bool post(Command command, const void* payload, size_t size);
    void monitor(bool sent, uint8_t port, const uint8_t* bytes, size_t size);
    void applyCommands();
    void write(Destination to, const uint8_t* bytes, size_t size);
    void end();
    void HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) override;
    void HostSendSysEx(std::string_view text) override;

    std::unique_ptr<ControllerEngine> engine_;
    MidiOut* tap_;

    // Process thread only
    std::array<MidiAssembler, 3> assemblers_;
    CycleOutput* output_ = nullptr;
    Frame cycleStart_ = 0;
    TransportPosition transport_;
    uint32_t nframes_ = 0;
    bool wasInputOn_ = false;
    bool holding_ = false;    // this cycle waits for the link
    bool waitsToEnd_ = false; // a hold ended: the waits under way end first
    uint32_t nativeEntries_ = 0;
    bool enteredThisCycle_ = false; // a resend now would repeat the entry
    bool ended_ = false;
    uint64_t sequence_ = 0;
    std::array<char, ControllerEngine::kMaxSysExText + 1> text_{};
    std::array<uint8_t, MidiAssembler::kMaxSysEx> sysEx_{};

    // Between the threads
    SpscRing commands_{1 << 16};
    SpscRing monitored_{1 << 18};
    std::atomic<uint64_t> monitorOverflow_{0};
    TripleBuffer<EngineSnapshot> snapshots_;
    std::atomic<bool> inputOn_{false};
    std::atomic<bool> linked_{true};
    std::atomic<uint32_t> attachment_{0}; // attachments to a server so far
    std::atomic<uint64_t> cycles_{0};
    std::atomic<uint64_t> inputOversize_{0}, inputMerged_{0}, inputHeld_{0}, outputFull_{0},
        outputInvalid_{0};
};
