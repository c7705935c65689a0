#include "engine/ControllerEngine.h"

#include <algorithm>
#include <cmath>

// The controls note repeat takes for itself: one holds repeat on (and turns the jog wheel into the
// rate's chooser while held), one taps the own tempo.

bool ControllerEngine::TakeRepeatControl(RepeatControl control, bool down) {
    const RepeatJob job = RepeatJobOf(*this, control);
    if (job == RepeatJob::Hold)
        SetRepeatHeld(down);
    else if (job == RepeatJob::Tap && down)
        TapTempo();
    return job != RepeatJob::None;
}

void ControllerEngine::StepRepeatRate(bool faster) {
    intRepeatRate = NextRepeatRate(intRepeatRate, faster ? 1 : -1);
    ++noteRepeat.changes;
    retimeRepeat();
    // "16T": the display has three places, and every rate is a fraction of a whole note.
    DisplayText shown(RepeatRateText(intRepeatRate).view().substr(2));
    SetDisplay(shown, true);
}

// Taps further apart than a beat at the slowest tempo start a new count; the tempo is that of the
// mean time between the count's taps, in whole beats per minute.
void ControllerEngine::TapTempo() {
    NoteRepeatState& r = noteRepeat;
    const Frame now = Now();
    DisplayText shown;
    if (r.taps == 0 || now - r.lastTap > Frame{SampleRate()} * 60 / kSlowestTempo) {
        r.taps = 1;
        r.firstTap = r.lastTap = now;
        shown = "TAP";
        SetDisplay(shown, true);
        return;
    }
    ++r.taps;
    r.lastTap = now;
    const double beat = static_cast<double>(now - r.firstTap) / (r.taps - 1);
    const long bpm =
        std::clamp<long>(std::lround(60.0 * SampleRate() / beat), kSlowestTempo, kFastestTempo);
    intOwnTempo = static_cast<int16_t>(bpm * 100);
    ++r.changes;
    retimeRepeat();
    AppendDecimal(shown, static_cast<unsigned>(bpm));
    SetDisplay(shown, true);
}
