#include "host/EngineRunner.h"

#include "host/MidiBytes.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {
// Commands travel as bytes through the queue.
static_assert(std::is_trivially_copyable_v<std::optional<PadRecall>>);
static_assert(std::is_trivially_copyable_v<ControllerSettings>);
static_assert(std::is_trivially_copyable_v<EngineSnapshot>);
static_assert(std::is_trivially_copyable_v<Mapping>);
} // namespace

EngineRunner::EngineRunner(MidiOut* tap)
    : engine_(std::make_unique<ControllerEngine>(static_cast<MidiOut&>(*this))), tap_(tap) {
    // The start-up state, for a window that looks before the first cycle.
    snapshots_.back().state = *engine_;
    snapshots_.publish();
}

EngineRunner::~EngineRunner() = default;

bool EngineRunner::post(Command command, const void* payload, size_t size) {
    const CommandHeader header{command, static_cast<uint32_t>(size),
                               attachment_.load(std::memory_order_relaxed)};
    return commands_.write(&header, sizeof header, payload, size);
}

bool EngineRunner::PostNativeMode(const std::optional<PadRecall>& recall) {
    return post(Command::NativeMode, &recall, sizeof recall);
}

bool EngineRunner::PostSettings(const ControllerSettings& settings,
                                std::optional<int> tapIntervalMs) {
    const SettingsCommand command{settings, tapIntervalMs.value_or(-1)};
    return post(Command::Settings, &command, sizeof command);
}

bool EngineRunner::PostMapping(const Mapping& mapping) {
    return post(Command::Mapping, &mapping, sizeof mapping);
}

bool EngineRunner::PostScene(const Mapping& mapping, const PadRecall& pads, std::string_view name) {
    const SceneCommand command{mapping, pads, ModeText(name)};
    return post(Command::Scene, &command, sizeof command);
}

bool EngineRunner::PostPadMode(int16_t bank, int16_t pad, std::string_view mode) {
    const PadModeCommand command{bank, pad, ModeText(mode)};
    return post(Command::PadMode, &command, sizeof command);
}

bool EngineRunner::PostRepeatLatch(bool on) {
    return post(Command::RepeatLatch, &on, sizeof on);
}

bool EngineRunner::PostResendNativeState() {
    return post(Command::Resend, nullptr, 0);
}

bool EngineRunner::PostInput(const uint8_t* bytes, size_t size) {
    return size <= MidiAssembler::kMaxSysEx && post(Command::Input, bytes, size);
}

bool EngineRunner::PostEnd() {
    return post(Command::End, nullptr, 0);
}

const EngineSnapshot* EngineRunner::TakeSnapshot() {
    return snapshots_.update() ? &snapshots_.front() : nullptr;
}

DropCounts EngineRunner::Drops() const {
    DropCounts drops;
    drops.inputOversize = inputOversize_.load(std::memory_order_relaxed);
    drops.inputMerged = inputMerged_.load(std::memory_order_relaxed);
    drops.inputHeld = inputHeld_.load(std::memory_order_relaxed);
    drops.outputFull = outputFull_.load(std::memory_order_relaxed);
    drops.outputInvalid = outputInvalid_.load(std::memory_order_relaxed);
    return drops;
}

void EngineRunner::BeginCycle(Frame start, uint32_t nframes, CycleOutput& output) {
    output_ = &output;
    cycleStart_ = start;
    nframes_ = nframes;
    holding_ = !linked_.load(std::memory_order_acquire);
    if (holding_) {
        waitsToEnd_ = true;
        return;
    }
    if (std::exchange(waitsToEnd_, false)) {
        engine_->FinishWaits();
        engine_->EndRepeats();
    }
    engine_->AdvanceTo(start);
    engine_->SetTransport(std::exchange(transport_, {}));
    const bool inputOn = inputOn_.load(std::memory_order_acquire) && !ended_;
    if (inputOn && !wasInputOn_) {
        for (MidiAssembler& assembler : assemblers_)
            assembler.reset(); // nothing half-read from before input was switched off
    }
    wasInputOn_ = inputOn;
    enteredThisCycle_ = false;
    applyCommands();
}

// A command that starts a handler waits in the queue while the engine has no room for one.
void EngineRunner::applyCommands() {
    constexpr size_t kPayload =
        std::max({sizeof(std::optional<PadRecall>), sizeof(SettingsCommand), sizeof(SceneCommand),
                  sizeof(PadModeCommand), MidiAssembler::kMaxSysEx});
    alignas(SceneCommand) uint8_t payload[kPayload];
    CommandHeader header{};
    while (commands_.peek(&header, sizeof header)) {
        const bool starts = header.command == Command::NativeMode;
        if (starts && !engine_->CanStartChain())
            return;
        commands_.peek(payload, header.size, sizeof header);
        commands_.skip(sizeof header + header.size);
        if (ended_)
            continue; // after the ending nothing more is done
        switch (header.command) {
        case Command::NativeMode: {
            std::optional<PadRecall> recall;
            std::memcpy(&recall, payload, sizeof recall);
            ++nativeEntries_;
            enteredThisCycle_ = true;
            engine_->Run(engine_->btnInitNativeMode_Click(recall));
            break;
        }
        case Command::Settings: {
            SettingsCommand command;
            std::memcpy(&command, payload, sizeof command);
            engine_->ApplySettings(command.settings);
            if (command.tapIntervalMs >= 0)
                engine_->tmrTap.setInterval(command.tapIntervalMs);
            break;
        }
        case Command::Mapping: {
            Mapping mapping;
            std::memcpy(&mapping, payload, sizeof mapping);
            engine_->SetMapping(mapping);
            break;
        }
        case Command::Scene: {
            SceneCommand command;
            std::memcpy(&command, payload, sizeof command);
            engine_->ApplyScene(command.mapping, command.pads, command.name, nativeEntries_ > 0);
            break;
        }
        case Command::PadMode: {
            PadModeCommand command;
            std::memcpy(&command, payload, sizeof command);
            engine_->SetPadMode(command.bank, command.pad, command.mode, nativeEntries_ > 0);
            break;
        }
        case Command::RepeatLatch: {
            bool on = false;
            std::memcpy(&on, payload, sizeof on);
            engine_->SetRepeatLatched(on);
            break;
        }
        case Command::Resend:
            if (nativeEntries_ > 0 && !enteredThisCycle_)
                engine_->ResendNativeState();
            break;
        case Command::Input:
            if (header.attachment == attachment_.load(std::memory_order_acquire))
                Input(FromWindow, cycleStart_, payload, header.size);
            break;
        case Command::End:
            end();
            break;
        }
    }
}

void EngineRunner::end() {
    engine_->EndChains();
    engine_->EndSoundingNotes();
    ended_ = true;
    wasInputOn_ = false;
}

void EngineRunner::Input(Source source, Frame frame, const uint8_t* bytes, size_t size) {
    if (!wasInputOn_ || holding_)
        return;
    MidiAssembler& assembler = assemblers_[source];
    for (size_t i = 0; i < size; ++i) {
        switch (assembler.feed(bytes[i])) {
        case MidiAssembler::Result::None:
            break;
        case MidiAssembler::Result::Oversize:
            inputOversize_.fetch_add(1, std::memory_order_relaxed);
            break;
        case MidiAssembler::Result::Channel: {
            const uint8_t* m = assembler.message();
            monitor(false, source, m, assembler.size());
            HostInput input{frame, false, {}, m[0], m[1], assembler.size() > 2 ? m[2] : 0};
            engine_->Deliver(input);
            break;
        }
        case MidiAssembler::Result::SysEx: {
            monitor(false, source, assembler.message(), assembler.size());
            const HostInput input{
                frame, true, WriteSysExText(assembler.message(), assembler.size(), text_.data())};
            engine_->Deliver(input);
            break;
        }
        }
    }
}

void EngineRunner::EndCycle() {
    if (holding_) {
        output_ = nullptr;
        cycles_.fetch_add(1, std::memory_order_release);
        return;
    }
    engine_->AdvanceTo(cycleStart_ + nframes_);
    inputMerged_.store(engine_->MergedInput(), std::memory_order_relaxed);
    inputHeld_.store(engine_->DroppedInput(), std::memory_order_relaxed);
    EngineSnapshot& snapshot = snapshots_.back();
    snapshot.state = *engine_;
    snapshot.sequence = ++sequence_;
    snapshot.frame = engine_->Now();
    snapshot.waitDepth = engine_->WaitDepth();
    snapshot.deepestWaitDepth = engine_->DeepestWaitDepth();
    snapshot.heldInput = engine_->HeldInputCount();
    snapshot.nativeMode = nativeEntries_ > 0;
    snapshot.nativeEntries = nativeEntries_;
    snapshot.ended = ended_;
    snapshots_.publish();
    output_ = nullptr;
    cycles_.fetch_add(1, std::memory_order_release);
}

void EngineRunner::write(Destination to, const uint8_t* bytes, size_t size) {
    if (!output_) {
        outputFull_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    const Frame now = std::max(engine_->Now(), cycleStart_);
    const auto offset = static_cast<uint32_t>(std::min<Frame>(now - cycleStart_, nframes_ - 1));
    if (!output_->write(to, offset, bytes, size)) {
        outputFull_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    monitor(true, to, bytes, size);
}

void EngineRunner::monitor(bool sent, uint8_t port, const uint8_t* bytes, size_t size) {
    MonitoredMessage::Header header{std::max(engine_->Now(), cycleStart_), sent, port,
                                    static_cast<uint16_t>(size)};
    const size_t kept = std::min(size, MonitoredMessage::kKept);
    if (!monitored_.write(&header, sizeof header, bytes, kept))
        monitorOverflow_.fetch_add(1, std::memory_order_relaxed);
}

std::vector<MonitoredMessage> EngineRunner::TakeMonitored() {
    std::vector<MonitoredMessage> taken;
    MonitoredMessage message;
    while (monitored_.peek(&message.header, sizeof message.header)) {
        const size_t kept = std::min<size_t>(message.header.size, MonitoredMessage::kKept);
        monitored_.peek(message.bytes.data(), kept, sizeof message.header);
        monitored_.skip(sizeof message.header + kept);
        taken.push_back(message);
    }
    return taken;
}

void EngineRunner::HostSendMessage(int32_t port, int32_t status, int32_t data1, int32_t data2) {
    if (tap_)
        tap_->HostSendMessage(port, status, data1, data2);
    uint8_t bytes[3];
    const size_t size = ShortMessageBytes(status, data1, data2, bytes);
    if (size == 0)
        outputInvalid_.fetch_add(1, std::memory_order_relaxed);
    else
        write(ToDaw, bytes, size);
}

void EngineRunner::HostSendSysEx(std::string_view text) {
    if (tap_)
        tap_->HostSendSysEx(text);
    const size_t size = SysExBytes(text, sysEx_.data(), sysEx_.size());
    if (size == 0)
        outputInvalid_.fetch_add(1, std::memory_order_relaxed);
    else
        write(ToController, sysEx_.data(), size);
}
