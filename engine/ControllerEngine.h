#pragma once

#include "engine/ControllerState.h"
#include "engine/FrameClock.h"
#include "engine/HeldInput.h"
#include "engine/HostInput.h"
#include "engine/MidiOut.h"
#include "engine/PadRecall.h"
#include "engine/Task.h"

#include <array>
#include <coroutine>
#include <cstdint>
#include <optional>
#include <string_view>

// A pulse's note and its channel: a mapped one, or the global channel of the moment (-1).
struct PulsedNote {
    int16_t note = -1; // none
    int16_t channel = -1;
};

// The controller engine: the whole controller state and every handler. It runs on one thread
// (the server's process thread) on the frame clock: input is handled at its own frame, waits
// suspend their handler and resume it at an exact frame, timers fire at theirs. Input arriving
// while handlers wait is handled nested, up to kMaxWaitDepth waits deep; deeper input is held in
// arrival order and runs as soon as a wait ends, a continuous control's waiting reports merged
// (HeldInput). Nothing here allocates, locks or blocks.
class ControllerEngine : public ControllerState {
public:
    static constexpr int kMaxWaitDepth = 8;
    static constexpr std::size_t kMaxHeldInput = HeldInput::kMessages;
    // Handlers started by the window's commands may nest beyond the input's bound.
    static constexpr int kMaxChains = 2 * kMaxWaitDepth;
    static constexpr std::size_t kMaxSysExText = 4096 * 3 - 1;

    // The start-up state: every pad "FLASH", the button ids filled, the LED packet cleared.
    explicit ControllerEngine(MidiOut& wire);
    ControllerEngine(const ControllerEngine&) = delete;
    ControllerEngine& operator=(const ControllerEngine&) = delete;

    // The frame clock (engine/waits.cpp)
    void SetSampleRate(uint32_t rate) { clock_.sampleRate = rate; }
    uint32_t SampleRate() const { return clock_.sampleRate; }
    Frame Now() const { return clock_.now; }
    // Runs the waits and timers that fall due before frame, in order, and moves the clock there.
    void AdvanceTo(Frame frame);
    // The next frame at which a wait or timer falls due, if any.
    std::optional<Frame> NextDue() const;
    // Host input at its frame: handled now, nested in the waits under way, or held.
    void Deliver(const HostInput& input);
    // Keeps a handler that was started now for as long as it waits.
    void Run(Task chain);
    bool CanStartChain() const { return chainCount_ < kMaxChains; }
    // Every ending: the note-off of each pulse in flight, innermost first; then every waiting
    // handler and all held input are given up.
    void EndChains();
    // A server's return: every wait under way ends now, innermost first, each handler going on
    // to its end, and the held input runs.
    void FinishWaits();

    // Input dispatch (engine/inputDispatch.cpp)
    Task mWire_SysExInput(std::string_view bstrSysEx);
    Task AnalyzeSysExInput(std::string_view bstrSysEx);
    Task ZivUvozaroSysExIn(std::string_view bstrSysEx);
    // How the input waits when it has to, read as the dispatch reads it.
    static HeldKind HeldKindOf(const HostInput& input);
    void mWire_MidiInput(int32_t nTimestamp, int32_t port, int32_t Status, int32_t data1,
                         int32_t data2);
    void ProcessFeedBack(int16_t intBank, int32_t lData1, int32_t lData2);

    // Native mode (engine/nativeMode.cpp)
    Task btnInitNativeMode_Click(std::optional<PadRecall> recall = std::nullopt);
    Task InitNativeMode();
    void ZivUvozaro_InitVariables();
    // The three entry messages and the LED packet built from the state of the moment: a
    // controller that was away or connected late shows what it should.
    void ResendNativeState();

    // LEDs (engine/ledPacket.cpp)
    void PadOn(std::string_view strInternalPadID);
    void PadOff(std::string_view strInternalPadID);
    void ZivUvozaro_SetLights();
    void PadOff_All();

    // LED display (engine/display.cpp)
    void SetDisplay(DisplayText& strString, bool bWithTimer);
    Task SetDisplayForTime(DisplayText strString);
    void tmrDisplay_Timer();

    // Pads (engine/pads.cpp, engine/padViews.cpp)
    void ZivUvozaro_PadPressed(std::string_view strID, bool bolOnOff, std::string_view Velocity);
    void PadOnOff(std::string_view strInternalPadID, bool bolOnOff, int16_t intPadNumber,
                  std::string_view Velocity);
    void ZivUvozaro_ShowToggledPads(int16_t intBank);
    void ZivUvozaro_ShowCNPads(std::string_view strCNMode, int16_t intBank);
    void ZivUvozaro_ShowTRKPads(std::string_view strMode, int16_t intBank);
    void ZivUvozaro_ShowFDBPads(std::string_view strMode, int16_t intBank);
    void ZivUvozaro_RecreatePadstate(int16_t intBank);

    // Buttons and banks (engine/buttons.cpp, engine/banks.cpp)
    Task ZivUvozaro_ButtonMatrix(std::string_view strID, bool bolPressed);
    Task ZivUvozaro_ButtonPressed(std::string_view strID, bool bolOnOff);
    Task ZivUvozaro_SetBank(int16_t intBank);

    // Knobs, jog wheel and XY pad (engine/knobs.cpp, engine/jogWheel.cpp, engine/xyPad.cpp)
    Task ZivUvozaro_CheckKnobTwist(std::string_view bstrSysEx, int16_t intKnob);
    Task ZivUvozaro_JogWheel(std::string_view bstrSysEx);
    void ZivUvozaroXYMove(int32_t lData1, int32_t lData2);
    void ZivUvozaroXYTap(int32_t lData1, int32_t lData2);
    void tmrTap_Timer();

    // MIDI output (engine/midiOutput.cpp)
    void SendShort(int32_t status, int32_t data1, int32_t data2);
    // A note on a channel of its own; velocity 0 ends it, and only when it sounds.
    void SendChannelNote(int32_t channel, int32_t note, int32_t velocity);
    void SendCC(int16_t intCC, int16_t intValue);
    void SendNote(int16_t intNoteValue, int16_t intVelocity);
    void SendNoteOn(int16_t intNoteValue);
    void SendNoteOff(int16_t intNoteValue);
    Task PulsedMidiOutPut(int16_t intWaitMiliSeconds, int16_t intNoteValue);
    Task PulsedNoteOut(int16_t waitMs, PulsedNote note);
    void SendPulsed(PulsedNote note, int16_t velocity);
    // A mapped message with the value the mode sends (0: the release).
    void SendMapped(const MappedMessage& m, int16_t value);

    // The player's mapping (engine/mapping.cpp): applies from now on; a note sounding from a
    // pad, the pedal or a pulse whose message changes ends first, as it started.
    void SetMapping(const Mapping& next);
    // A whole setup at once: every note ends first, then the mapping, the settings and the pads of
    // all three banks apply; when shown (native mode is on), the lights follow and the display
    // shows the name for its time.
    void ApplyScene(const Mapping& next, const PadRecall& pads, std::string_view name, bool shown);
    // One pad's mode, as a mode button and a hit would give it.
    void SetPadMode(int16_t bank, int16_t pad, std::string_view mode, bool shown);
    // Every note still sounding ends, channel by channel.
    void EndSoundingNotes();

    // Note repeat (engine/noteRepeat.cpp): held note pads retrigger on the grid while the
    // repeat's control or the window's latch holds repeat on.
    void SetRepeatHeld(bool down);
    void SetRepeatLatched(bool on);
    // The pedal or a note button, when note repeat takes it (engine/repeatControls.cpp): holds
    // repeat on or taps the own tempo; true then, and the control sends nothing else.
    bool TakeRepeatControl(RepeatControl control, bool down);
    // The jog wheel while repeat's control is held: the next rate, shown on the display.
    void StepRepeatRate(bool faster);
    void TapTempo();
    // The transport's position at the start of this cycle.
    void SetTransport(const TransportPosition& position);
    // A pad's hit or release, when note repeat takes it: true then.
    bool RepeatPad(int pad, bool on, std::string_view velocity);
    // Every repeat stops; a sounding one ends.
    void EndRepeats();

    // Settings the window restored or the dialog confirmed (engine/padRecall.cpp)
    void ApplySettings(const ControllerSettings& settings);
    void RecallPadSettings(const PadRecall& recall);

    // A wait of the given number of 1 ms passes; a pulse names the note it holds, so that an
    // ending can finish it (engine/waits.cpp).
    auto SleepAndDispatch(int32_t passes, PulsedNote pulseNote = {}) {
        struct Wait {
            ControllerEngine& engine;
            Frame frames;
            PulsedNote note;
            bool await_ready() const noexcept { return false; }
            void await_suspend(std::coroutine_handle<> handler) noexcept {
                engine.suspend(handler, frames, note);
            }
            void await_resume() const noexcept {}
        };
        return Wait{*this, clock_.framesIn(passes), pulseNote};
    }

    MidiOut& Wire() { return *mWire; }

    int WaitDepth() const { return chainCount_; }
    int DeepestWaitDepth() const { return deepestWaitDepth_; }
    // Held input that found no room, or was left at an ending.
    uint64_t DroppedInput() const { return droppedInput_; }
    // Reports of a continuous control that a later one took the place of while they waited, and
    // jog steps past the bound.
    uint64_t MergedInput() const { return mergedInput_; }
    std::size_t HeldInputCount() const { return held_.size(); }
    FrameArena& Arena() { return arena_; }

    FrameTimer tmrDisplay{clock_};
    FrameTimer tmrTap{clock_};
    MidiOut* mWire;

private:
    struct Chain {
        Task task;
        std::coroutine_handle<> waiting; // the handler to resume
        Frame resumeAt = 0;
        PulsedNote pulseNote;
    };
    struct PendingWait {
        std::coroutine_handle<> waiting;
        Frame resumeAt = 0;
        PulsedNote pulseNote;
    };

    void suspend(std::coroutine_handle<> handler, Frame frames, PulsedNote pulseNote);
    void start(const HostInput& input);
    void resumeTop();
    void runHeld();
    std::optional<Frame> repeatDue() const;
    void runRepeat(Frame frame);
    void retimeRepeat();
    void scheduleNextStep(Frame after);
    void startGrid();
    void applyRecalledSettings(const PadRecall& recall);
    void startVoice(RepeatVoice& voice, Frame frame);

    FrameClock clock_;
    FrameArena arena_;
    std::array<Chain, kMaxChains> chains_{};
    int chainCount_ = 0;
    int deepestWaitDepth_ = 0;
    PendingWait pendingWait_;
    HeldInput held_;
    uint64_t droppedInput_ = 0;
    uint64_t mergedInput_ = 0;
    // The text of the input each chain handles; a chain's texts live as long as the chain.
    std::array<FixedText<kMaxSysExText>, kMaxChains> texts_{};
};
