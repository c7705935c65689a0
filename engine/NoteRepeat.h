#pragma once

#include "engine/FixedText.h"
#include "engine/FrameClock.h"

#include <array>
#include <cstdint>

// Where the music is: the transport's position at a frame of the engine's clock, as a timebase
// master gives it. Not rolling: no master, or the transport stands; repeats then keep time on
// their own tempo.
struct TransportPosition {
    bool rolling = false;
    int32_t bar = 1;  // from 1
    int32_t beat = 1; // from 1, within the bar
    double tick = 0;  // within the beat
    double ticksPerBeat = 1920;
    double beatsPerBar = 4;
    double beatsPerMinute = 120;
    uint32_t frameRate = 48000;
    Frame frame = 0; // the engine frame the bar, beat and tick are at
};

// The transport's beats as a line through the engine's frames. Masters give the tick as a whole
// number, so one position may put the music up to a tick early; the line keeps the latest of
// the positions that agree with it, which comes to the exact grid within a few cycles.
struct BeatLine {
    double beats = 0; // at frame
    Frame frame = 0;
    double framesPerBeat = 24000;
    double ticksPerBeat = 1920;
};
// Folds the position of a new cycle into the line: one that continues it (the same tempo, within
// a tick either way) can only move it later; any other, or the first, starts it anew.
void FollowTransport(BeatLine& line, const TransportPosition& p, bool continuing);

// A control note repeat takes for itself, to hold repeat on or to tap the own tempo: none, the
// pedal, or note button 1..6 (NoteButton + 0..5).
enum class RepeatControl : int16_t { Off = 0, Pedal = 1, NoteButton = 2 };
inline constexpr int kRepeatNoteButtons = 6;
// The own tempo's bounds, in beats per minute.
inline constexpr int kSlowestTempo = 20, kFastestTempo = 300;

// One pad's repeat: the note it plays, resolved at the hit.
struct RepeatVoice {
    bool owned = false;     // the pad was hit while repeat was on; its release is the repeat's
    bool repeating = false; // retriggers at each step
    bool offDue = false;
    int8_t channel = 0;
    int8_t note = 0;
    int8_t velocity = 0;
    Frame offAt = 0;
};

// Note repeat's run-time state: what holds it on, the voices and the grid they keep.
struct NoteRepeatState {
    bool controlHeld = false;
    bool latched = false;
    // The rate or the own tempo changed from the controller (jog wheel, taps): counts the changes.
    uint32_t changes = 0;
    // Taps of the own tempo: the first of the count and how many so far.
    Frame firstTap = 0, lastTap = 0;
    uint32_t taps = 0;
    std::array<RepeatVoice, 16> voices{}; // by pad
    bool gridRunning = false;
    bool masterGrid = false; // the steps follow the transport
    Frame nextStep = 0;
    Frame lastStep = 0;
    // Own tempo: steps counted from the anchor, with the settings it was set with.
    Frame anchor = 0;
    uint64_t step = 0;
    int16_t anchorTempo = 0, anchorRate = 0, anchorSwing = 0;
    // Master: the index of the step last played on the transport's grid.
    int64_t masterStep = -1;
    int64_t nextMasterStep = 0;
    int16_t masterRate = 16; // the rate the two count in
    TransportPosition transport;
    BeatLine beatLine;

    bool On() const { return controlHeld || latched; }
};

// Steps per whole note: 4, 8, 16, 32 straight; 6, 12, 24, 48 triplets ("1/16T" = 24).
bool ValidRepeatRate(int stepsPerWhole);
// The rate as players write it: "1/16", "1/16T".
FixedText<7> RepeatRateText(int stepsPerWhole);
// The valid rate steps away from this one, slower (< 0) or faster, held at the ends.
int16_t NextRepeatRate(int stepsPerWhole, int steps);

// Own tempo: the frame of step k after the anchor (tempo in hundredths of BPM, swing in tenths
// of a percent: every second step late by that share of half a step).
Frame OwnStepFrame(Frame anchor, uint64_t k, uint32_t sampleRate, int tempo, int stepsPerWhole,
                   int swing);

struct MasterStep {
    int64_t index;
    Frame frame;
};
// The transport's grid: the frame of step index on the line.
Frame MasterStepFrame(const BeatLine& line, int64_t index, int stepsPerWhole, int swing);
// The first step of the transport's grid after the frame.
MasterStep FirstMasterStepAfter(const BeatLine& line, Frame after, int stepsPerWhole, int swing);
