#pragma once

#include <QString>

// A MIDI note's name with its octave, C1 = 36 (so 60 = "C4"), sharps as "C#"; the names a
// player reads on a drum machine's pads.
inline QString NoteName(int note) {
    static const char* const names[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                        "F#", "G",  "G#", "A",  "A#", "B"};
    if (note < 0 || note > 127)
        return {};
    return QString::fromLatin1(names[note % 12]) + QString::number(note / 12 - 2);
}
