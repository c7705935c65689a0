#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <utility>

// The notes the music software was sent and not yet told to end, per channel, so that an ending
// can end them: a pad held or latched on when Orvan ends would otherwise sound for ever.
class SoundingNotes {
public:
    // Follows one message that went to the music software.
    void sent(const uint8_t* bytes, size_t size) {
        if (size != 3)
            return;
        const uint8_t kind = bytes[0] & 0xF0;
        const uint8_t channel = bytes[0] & 0x0F;
        if (kind == 0x90 || kind == 0x80)
            on_[channel].set(bytes[1] & 0x7F, kind == 0x90 && bytes[2] != 0);
    }

    // Calls end(channel, note) for every sounding note, channel by channel, lowest note first,
    // and forgets them.
    template <class End> void endAll(End&& end) {
        const auto on = std::exchange(on_, {});
        for (uint8_t channel = 0; channel < on.size(); ++channel)
            for (uint8_t note = 0; note < 128; ++note)
                if (on[channel].test(note))
                    end(channel, note);
    }

private:
    std::array<std::bitset<128>, 16> on_{};
};
