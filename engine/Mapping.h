#pragma once

#include <array>
#include <cstdint>

// What the player chose a control to send, over the built-in numbers. Everything left unset keeps
// the built-in behaviour byte for byte, so an empty mapping plays exactly as Orvan always did.

enum class MessageKind : uint8_t { Default, Note, Control, Program };

struct MappedMessage {
    static constexpr int8_t kGlobalChannel = -1;
    MessageKind kind = MessageKind::Default;
    int8_t number = 0;               // 0..127
    int8_t channel = kGlobalChannel; // 0..15, or the global channel
    bool Set() const { return kind != MessageKind::Default; }
    bool operator==(const MappedMessage&) const = default;
};

enum class VelocityCurve : uint8_t { Linear, Soft, Hard };

// How a hit's velocity becomes the sent one. The default shape passes every velocity unchanged.
struct VelocityShape {
    VelocityCurve curve = VelocityCurve::Linear;
    uint8_t minimum = 1;
    uint8_t maximum = 127;
    uint8_t threshold = 0; // hits below it are ignored, with their releases
    uint8_t fixed = 0;     // 1..127: every hit sends this; 0: off
    bool operator==(const VelocityShape&) const = default;
    bool Identity() const { return *this == VelocityShape{}; }
};

struct PadMapping {
    MappedMessage message;
    bool ownShape = false; // otherwise the mapping's default shape
    VelocityShape shape;
    bool operator==(const PadMapping&) const = default;
};

struct Mapping {
    static constexpr int kPads = 16;
    static constexpr int kBanks = 3;
    std::array<std::array<PadMapping, kBanks>, kPads> pads{}; // [pad][bank]
    VelocityShape velocity;                                   // for pads without their own
    std::array<MappedMessage, 2> knobs{};
    std::array<MappedMessage, 2> xyPad{}; // X, Y
    MappedMessage pedal;
    std::array<MappedMessage, 2> jogWheel{}; // left, right
    bool operator==(const Mapping&) const = default;

    const VelocityShape& ShapeOf(int pad, int bank) const {
        const PadMapping& p = pads[pad][bank];
        return p.ownShape ? p.shape : velocity;
    }
};

// The sent velocity of a hit, -1 when the hit is below the threshold and is ignored.
int ShapeVelocity(const VelocityShape& shape, int velocity);
