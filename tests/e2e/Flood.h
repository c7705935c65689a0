#pragma once

#include "MidiClients.h"

#include <cstddef>
#include <vector>

// A flood of controller reports at a steady rate: pad hits and releases, and now and then a burst
// of knob reports whose pulsed notes nest inside each other.
struct FloodPlan {
    std::vector<TimedMessage> reports;
    std::vector<Bytes> firstAnswers; // per report: the first message it makes on daw_out
    std::vector<Bytes> pulseEnds;    // per report: the note-off of its pulse; empty for none
    size_t answerCount() const;      // every message the plan makes on daw_out
};

// Pads play in `bank` on channel 1 with their default modes; knobs send pulsed notes.
FloodPlan MakeFlood(int reportsPerSecond, int seconds, uint32_t sampleRate, int bank);

// What came out on daw_out against the plan. Answers are matched in report order; a pulse ends
// after everything that started inside it ended.
struct FloodCheck {
    size_t answered = 0;   // reports whose first answer came, in order
    size_t missing = 0;    // reports without one
    size_t disordered = 0; // messages that fit neither the report order nor an open pulse
    size_t unclosed = 0;   // pulses without their end
};
FloodCheck CheckFlood(const FloodPlan& plan, const std::vector<Bytes>& dawOut);
