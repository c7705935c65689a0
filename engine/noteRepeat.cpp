#include "engine/ControllerEngine.h"
#include "engine/HexText.h"
#include "engine/UCase.h"

#include <algorithm>

// Note repeat: each held pad that plays a note plays it again on every step of the grid, a whole
// note each time (on, then off after the gate, before the next step). The grid is the transport
// master's while it rolls, else the own tempo's from the first hit.

namespace {
struct RepeatNote {
    int8_t channel;
    int8_t note;
    int8_t velocity;
};

// The note a pad plays as its mode and mapping say, with the velocity it would send: only
// "FLASH" and "TRK" pads that send notes repeat.
std::optional<RepeatNote> repeatNoteOf(const ControllerEngine& w, int pad,
                                       std::string_view velocity) {
    const int16_t bank = w.intCurrentBank;
    const ModeText& mode = w.strPadMode[pad][bank];
    const bool flash = mode == "FLASH";
    if (!flash && mode != "TRK")
        return std::nullopt;
    const int hit = flash && !w.bFixedVelocity ? HextoDec(velocity) : 127;
    if (hit <= 0 || hit > 127)
        return std::nullopt;
    const auto v = static_cast<int8_t>(hit);
    if (const MappedMessage& m = w.mapping.pads[pad][bank].message; m.Set()) {
        if (m.kind != MessageKind::Note)
            return std::nullopt;
        return RepeatNote{static_cast<int8_t>(w.ChannelOf(m)), m.number, v};
    }
    const bool notes = flash ? w.strFlashMidiCC == "MIDI" : UCase(w.strTRKMidiCC) == "MIDI";
    if (!notes)
        return std::nullopt;
    return RepeatNote{static_cast<int8_t>(w.intMidiChannel),
                      static_cast<int8_t>(ControllerState::PadNumber(bank, pad)), v};
}
} // namespace

void ControllerEngine::startVoice(RepeatVoice& voice, Frame frame) {
    SendChannelNote(voice.channel, voice.note, 0);
    SendChannelNote(voice.channel, voice.note, voice.velocity);
    // The gate is a share of the time to the next step, and ends before it.
    const Frame length = noteRepeat.nextStep > frame ? noteRepeat.nextStep - frame : 1;
    const Frame gate = length * static_cast<Frame>(std::clamp<int>(intRepeatGate, 0, 1000)) / 1000;
    voice.offDue = true;
    voice.offAt = frame + std::clamp<Frame>(gate, 1, std::max<Frame>(length - 1, 1));
}

void ControllerEngine::scheduleNextStep(Frame after) {
    NoteRepeatState& r = noteRepeat;
    const int rate = ValidRepeatRate(intRepeatRate) ? intRepeatRate : 16;
    const int swing = std::clamp<int>(intRepeatSwing, 0, 1000);
    if (r.masterGrid) {
        // The step last played, counted in steps of the rate of now: a step of the old rate
        // that lies on the new grid keeps its place on it.
        if (r.masterStep >= 0 && r.masterRate != rate)
            r.masterStep = r.masterStep * rate / r.masterRate;
        r.masterRate = static_cast<int16_t>(rate);
        const BeatLine& line = r.beatLine;
        MasterStep next = FirstMasterStepAfter(line, after, rate, swing);
        // A line started anew (a tempo change) may find the step just played again: the one
        // after it is next.
        if (next.index == r.masterStep)
            next = {next.index + 1, MasterStepFrame(line, next.index + 1, rate, swing)};
        r.nextStep = next.frame;
        r.nextMasterStep = next.index;
        return;
    }
    const int tempo = std::clamp<int>(intOwnTempo, 100, 30000);
    // A change of tempo, rate or swing takes effect from the step last played.
    if (r.anchorTempo != tempo || r.anchorRate != rate || r.anchorSwing != swing) {
        r.anchor = r.lastStep;
        r.step = 0;
        r.anchorTempo = static_cast<int16_t>(tempo);
        r.anchorRate = static_cast<int16_t>(rate);
        r.anchorSwing = static_cast<int16_t>(swing);
    }
    // Steps a change left behind are skipped: the next one is after the given frame.
    uint64_t k = r.step + 1;
    while ((r.nextStep = OwnStepFrame(r.anchor, k, SampleRate(), tempo, rate, swing)) <= after)
        ++k;
    r.step = k - 1;
}

// The next step after the last one, at the rate and tempo of now.
void ControllerEngine::retimeRepeat() {
    NoteRepeatState& r = noteRepeat;
    if (r.gridRunning)
        scheduleNextStep(std::max(r.lastStep, Now() > 0 ? Now() - 1 : 0));
}

namespace {
bool anyRepeating(const NoteRepeatState& r) {
    return std::any_of(r.voices.begin(), r.voices.end(),
                       [](const RepeatVoice& v) { return v.repeating; });
}
} // namespace

// The grid starts now: the own tempo's from here, the master's where it is.
void ControllerEngine::startGrid() {
    NoteRepeatState& r = noteRepeat;
    r.gridRunning = true;
    r.masterGrid = r.transport.rolling;
    r.masterStep = -1;
    r.lastStep = Now();
    r.anchorTempo = 0; // the own grid anchors here
    scheduleNextStep(Now());
}

bool ControllerEngine::RepeatPad(int pad, bool on, std::string_view velocity) {
    NoteRepeatState& r = noteRepeat;
    RepeatVoice& voice = r.voices[pad];
    if (!on) {
        if (!voice.owned)
            return false;
        SendChannelNote(voice.channel, voice.note, 0);
        voice = {};
        r.gridRunning = r.gridRunning && anyRepeating(r);
        return true;
    }
    if (!r.On())
        return false;
    const std::optional<RepeatNote> note = repeatNoteOf(*this, pad, velocity);
    if (!note)
        return false;
    voice = {true, true, false, note->channel, note->note, note->velocity, 0};
    if (!r.gridRunning)
        startGrid();
    startVoice(voice, Now());
    return true;
}

void ControllerEngine::SetRepeatHeld(bool down) {
    const bool was = noteRepeat.On();
    noteRepeat.controlHeld = down;
    if (was != noteRepeat.On())
        SetRepeatLatched(noteRepeat.latched);
}

// Repeat going off stops the grid, the last notes end at their gates; going on, pads still held
// from before play again from now.
void ControllerEngine::SetRepeatLatched(bool on) {
    NoteRepeatState& r = noteRepeat;
    r.latched = on;
    bool any = false;
    for (RepeatVoice& voice : r.voices) {
        voice.repeating = voice.owned && r.On();
        any = any || voice.repeating;
    }
    if (!any) {
        r.gridRunning = false;
        return;
    }
    if (r.gridRunning)
        return;
    startGrid();
    for (RepeatVoice& voice : r.voices)
        if (voice.repeating)
            startVoice(voice, Now());
}

void ControllerEngine::SetTransport(const TransportPosition& position) {
    NoteRepeatState& r = noteRepeat;
    if (position.rolling)
        FollowTransport(r.beatLine, position, r.transport.rolling);
    r.transport = position;
    if (!r.gridRunning)
        return;
    if (position.rolling != r.masterGrid) {
        r.masterGrid = position.rolling;
        r.masterStep = -1;
        r.anchorTempo = 0; // the own grid goes on from the step last played
    }
    retimeRepeat();
}

void ControllerEngine::EndRepeats() {
    NoteRepeatState& r = noteRepeat;
    for (RepeatVoice& voice : r.voices) {
        if (voice.owned)
            SendChannelNote(voice.channel, voice.note, 0);
        voice.repeating = false;
        voice.offDue = false;
    }
    r.gridRunning = false;
}

std::optional<Frame> ControllerEngine::repeatDue() const {
    const NoteRepeatState& r = noteRepeat;
    std::optional<Frame> due;
    if (r.gridRunning)
        due = r.nextStep;
    for (const RepeatVoice& voice : r.voices)
        if (voice.offDue && (!due || voice.offAt < *due))
            due = voice.offAt;
    return due;
}

// Gates first: a note ends before the step that plays it again.
void ControllerEngine::runRepeat(Frame frame) {
    NoteRepeatState& r = noteRepeat;
    for (RepeatVoice& voice : r.voices) {
        if (!voice.offDue || voice.offAt > frame)
            continue;
        voice.offDue = false;
        SendChannelNote(voice.channel, voice.note, 0);
    }
    if (!r.gridRunning || r.nextStep > frame)
        return;
    const Frame step = r.nextStep;
    r.lastStep = step;
    if (r.masterGrid)
        r.masterStep = r.nextMasterStep;
    else
        ++r.step;
    scheduleNextStep(step);
    for (RepeatVoice& voice : r.voices)
        if (voice.repeating)
            startVoice(voice, step);
}
