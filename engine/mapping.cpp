#include "engine/ControllerEngine.h"

#include <algorithm>
#include <optional>

// The player's mapping and scenes: what changes when, so that no note is left sounding.

int ShapeVelocity(const VelocityShape& shape, int velocity) {
    const int v = std::clamp(velocity, 0, 127);
    if (v < shape.threshold)
        return -1;
    if (shape.fixed > 0)
        return shape.fixed;
    int curved = v;
    if (shape.curve == VelocityCurve::Soft)
        curved = 127 - (127 - v) * (127 - v) / 127;
    else if (shape.curve == VelocityCurve::Hard)
        curved = (v * v + 63) / 127;
    curved = std::max(curved, 1);
    const int lo = std::min(shape.minimum, shape.maximum);
    const int hi = std::max(shape.minimum, shape.maximum);
    // Scaled, not clipped: soft hits stay softer than hard ones between the bounds.
    return lo + ((curved - 1) * (hi - lo) + 63) / 126;
}

namespace {
struct NoteOnChannel {
    int32_t channel;
    int32_t note;
    bool operator==(const NoteOnChannel&) const = default;
};

// The note a control plays with this message, or none when it plays no note.
std::optional<NoteOnChannel> noteOf(const ControllerState& s, const MappedMessage& m,
                                    int32_t builtIn) {
    if (m.kind == MessageKind::Default)
        return NoteOnChannel{s.intMidiChannel, builtIn};
    if (m.kind == MessageKind::Note)
        return NoteOnChannel{s.ChannelOf(m), m.number};
    return std::nullopt;
}

constexpr int32_t kPedalNote = 64;
} // namespace

void ControllerEngine::SetMapping(const Mapping& next) {
    // Compared with the channel of the moment, on both sides, so only the mapping's change counts.
    auto endChanged = [this](const MappedMessage& was, const MappedMessage& now, int32_t builtIn) {
        const std::optional<NoteOnChannel> old = noteOf(*this, was, builtIn);
        if (old && old != noteOf(*this, now, builtIn))
            SendChannelNote(old->channel, old->note, 0);
    };
    for (int pad = 0; pad < kPads; ++pad)
        for (int16_t bank = 0; bank < kBanks; ++bank)
            endChanged(mapping.pads[pad][bank].message, next.pads[pad][bank].message,
                       PadNumber(bank, pad));
    endChanged(mapping.pedal, next.pedal, kPedalNote);
    mapping = next;
}

void ControllerEngine::EndSoundingNotes() {
    EndRepeats();
    for (int32_t channel = 0; channel < 16; ++channel)
        for (int32_t note = 0; note < 128; ++note)
            SendChannelNote(channel, note, 0);
}

void ControllerEngine::ApplyScene(const Mapping& next, const PadRecall& pads, std::string_view name,
                                  bool shown) {
    EndSoundingNotes();
    bHitIgnored = {};
    mapping = next;
    applyRecalledSettings(pads);
    for (int pad = 0; pad < kPads; ++pad) {
        for (int bank = 0; bank < kBanks; ++bank) {
            strPadMode[pad][bank] = pads.padMode[pad][bank].value_or("FLASH");
            bPadState[pad][bank] = pads.padState[pad][bank].value_or(false);
            vPadStateSaved[pad][bank] = bPadState[pad][bank];
        }
    }
    if (!shown)
        return;
    ZivUvozaro_SetLights();
    DisplayText text(name.substr(0, 3));
    SetDisplay(text, true);
}

void ControllerEngine::SetPadMode(int16_t bank, int16_t pad, std::string_view mode, bool shown) {
    if (bank < 0 || bank >= kBanks || pad < 0 || pad >= kPads)
        return;
    // A latched pad's note ends with its old mode.
    if (const auto note = noteOf(*this, mapping.pads[pad][bank].message, PadNumber(bank, pad)))
        SendChannelNote(note->channel, note->note, 0);
    strPadMode[pad][bank] = mode;
    // A track pad shows lit, as one given its mode by the button does.
    bPadState[pad][bank] = mode == "TRK";
    vPadStateSaved[pad][bank] = bPadState[pad][bank];
    if (shown)
        ZivUvozaro_SetLights();
}
