#include "engine/NoteRepeat.h"

#include <algorithm>
#include <cmath>

// Grid positions are computed from an anchor, never by adding step lengths, so rounding never
// accumulates: each step lands on the frame nearest its exact time.

namespace {
// Slowest to fastest: a triplet rate has three steps where the straight one has two.
constexpr int16_t kRates[] = {4, 6, 8, 12, 16, 24, 32, 48};
} // namespace

bool ValidRepeatRate(int stepsPerWhole) {
    return std::find(std::begin(kRates), std::end(kRates), stepsPerWhole) != std::end(kRates);
}

FixedText<7> RepeatRateText(int stepsPerWhole) {
    const bool triplet = stepsPerWhole % 3 == 0;
    FixedText<7> text("1/");
    AppendDecimal(text, static_cast<unsigned>(triplet ? stepsPerWhole * 2 / 3 : stepsPerWhole));
    if (triplet)
        text += 'T';
    return text;
}

int16_t NextRepeatRate(int stepsPerWhole, int steps) {
    const auto* at = std::find(std::begin(kRates), std::end(kRates), stepsPerWhole);
    const auto index = at == std::end(kRates) ? 4 : at - std::begin(kRates); // else from 1/16
    return kRates[std::clamp<std::ptrdiff_t>(index + steps, 0, std::size(kRates) - 1)];
}

Frame OwnStepFrame(Frame anchor, uint64_t k, uint32_t sampleRate, int tempo, int stepsPerWhole,
                   int swing) {
    // A step is 4 / stepsPerWhole beats of 60 / (tempo / 100) seconds.
    const uint64_t num = uint64_t{240} * 100 * sampleRate * 2000;
    const uint64_t den = static_cast<uint64_t>(tempo) * stepsPerWhole * 2000;
    const uint64_t late = (k & 1) ? uint64_t{240} * 100 * sampleRate * swing : 0;
    return anchor + (k * num + late + den / 2) / den;
}

namespace {
double beatsAt(const TransportPosition& p) {
    const double tpb = p.ticksPerBeat > 0 ? p.ticksPerBeat : 1;
    return (p.bar - 1) * p.beatsPerBar + (p.beat - 1) + p.tick / tpb;
}
double framesPerBeat(const TransportPosition& p) {
    return 60.0 * p.frameRate / (p.beatsPerMinute > 0 ? p.beatsPerMinute : 120);
}
double stepBeats(int stepsPerWhole) {
    return 4.0 / stepsPerWhole;
}
double beatsOnLine(const BeatLine& line, Frame f) {
    return line.beats +
           (static_cast<double>(f) - static_cast<double>(line.frame)) / line.framesPerBeat;
}
} // namespace

void FollowTransport(BeatLine& line, const TransportPosition& p, bool continuing) {
    const BeatLine seen{beatsAt(p), p.frame, framesPerBeat(p),
                        p.ticksPerBeat > 0 ? p.ticksPerBeat : 1};
    const double ahead = (seen.beats - beatsOnLine(line, p.frame)) * seen.ticksPerBeat;
    const bool agrees = continuing && seen.framesPerBeat == line.framesPerBeat &&
                        seen.ticksPerBeat == line.ticksPerBeat && ahead > -1 && ahead < 1;
    if (!agrees || ahead > 0)
        line = seen;
}

Frame MasterStepFrame(const BeatLine& line, int64_t index, int stepsPerWhole, int swing) {
    const double late = (index & 1) ? swing / 2000.0 : 0;
    const double beat = (static_cast<double>(index) + late) * stepBeats(stepsPerWhole);
    const double offset = std::round((beat - line.beats) * line.framesPerBeat);
    return offset < 0 ? line.frame - std::min<Frame>(line.frame, static_cast<Frame>(-offset))
                      : line.frame + static_cast<Frame>(offset);
}

MasterStep FirstMasterStepAfter(const BeatLine& line, Frame after, int stepsPerWhole, int swing) {
    const double beat = beatsOnLine(line, after);
    auto index = static_cast<int64_t>(std::floor(beat / stepBeats(stepsPerWhole))) - 1;
    while (MasterStepFrame(line, index, stepsPerWhole, swing) <= after)
        ++index;
    return {index, MasterStepFrame(line, index, stepsPerWhole, swing)};
}
