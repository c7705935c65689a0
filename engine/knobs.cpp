#include "engine/ControllerEngine.h"
#include "engine/HexText.h"
#include "engine/ReportValue.h"

namespace {
enum class Twist { Rising, Top, Falling, Bottom, None };

Twist classify(std::string_view t, int32_t v, int32_t p) {
    if (t != "7F" && v > p)
        return Twist::Rising;
    if (t == "7F")
        return Twist::Top;
    if (t != "00" && v < p)
        return Twist::Falling;
    if (t == "00")
        return Twist::Bottom;
    return Twist::None;
}

// Knob 1's pulsed note per class, in the order of Twist; knob 2 uses the notes 12 higher.
constexpr int16_t kKnob1Notes[] = {21, 22, 19, 20};
// Knob 1's wire controller number; knob 2's is 12 higher.
constexpr int16_t kKnob1Controller = 19;
constexpr int16_t kKnob2Offset = 12;
} // namespace

Task ControllerEngine::ZivUvozaro_CheckKnobTwist(std::string_view bstrSysEx, int16_t intKnob) {
    const std::string_view t = ReportValueText(bstrSysEx);
    // Only the controller's own reports carry a position to compare.
    if ((intKnob != 1 && intKnob != 2) || !IsHexPair(t))
        co_return;
    const int32_t v = HextoDec(t);
    const Twist twist = classify(t, v, intKnobValue[intKnob - 1]);
    const int16_t offset = intKnob == 1 ? 0 : kKnob2Offset;

    // A mapped knob sends its position, as a knob does.
    if (const MappedMessage& mapped = mapping.knobs[intKnob - 1]; mapped.Set()) {
        if (twist != Twist::None)
            SendMapped(mapped, static_cast<int16_t>(v));
    } else if (twist != Twist::None) {
        if (strKnobMode == "MIDI") {
            co_await PulsedMidiOutPut(
                3, static_cast<int16_t>(kKnob1Notes[static_cast<int>(twist)] + offset));
        } else {
            const auto value = static_cast<int16_t>(twist == Twist::Top      ? 127
                                                    : twist == Twist::Bottom ? 0
                                                                             : v);
            SendCC(static_cast<int16_t>(kKnob1Controller + offset + 1), value);
        }
    }
    // Stored only now: a report handled inside the pulse's wait compares with the position
    // before this one.
    intKnobValue[intKnob - 1] = v;
}
