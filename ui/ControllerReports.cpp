#include "ui/ControllerReports.h"

#include "engine/HexText.h"
#include "engine/NativeMessages.h"

#include <array>

namespace {
constexpr uint8_t kJogRight = 0x01;
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kEnd = 0xF7;

// The kind bytes in the order of Report::Kind.
const std::array<uint8_t, 5>& kindBytes() {
    static const std::array<uint8_t, 5> bytes = [] {
        std::array<uint8_t, 5> b{};
        const std::string_view texts[] = {native::kPadReport, native::kButtonReport,
                                          native::kKnobReport, native::kJogWheelReport,
                                          native::kPedalReport};
        for (size_t i = 0; i < b.size(); ++i)
            b[i] = static_cast<uint8_t>(HextoDec(texts[i]));
        return b;
    }();
    return bytes;
}

const Bytes& header() {
    static const Bytes bytes = HeadBytes(native::kHeader);
    return bytes;
}

uint8_t byte(int value) {
    return static_cast<uint8_t>(value & 0x7F);
}
} // namespace

std::optional<Report> ParseReport(ByteView message) {
    const size_t size = header().size() + 4;
    if (message.size() != size || !StartsWith(message, header()) || message.back() != kEnd)
        return std::nullopt;
    const uint8_t* values = message.data() + header().size();
    for (size_t kind = 0; kind < kindBytes().size(); ++kind)
        if (kindBytes()[kind] == values[0])
            return Report{static_cast<Report::Kind>(kind), values[1], values[2]};
    return std::nullopt;
}

Bytes ReportBytes(const Report& report) {
    Bytes bytes = header();
    bytes.insert(bytes.end(), {kindBytes()[report.kind], report.b7, report.b8, kEnd});
    return bytes;
}

Report PadHit(int pad, int velocity) {
    return {Report::Pad, byte(native::kPadHitForm + pad), byte(velocity)};
}

Report PadRelease(int pad) {
    return {Report::Pad, byte(pad), 0};
}

Report ButtonReport(int button, bool pressed) {
    return {Report::Button, byte(HextoDec(native::kButtonSwitchNumbers.at(button))),
            pressed ? Report::kPressed : uint8_t{0}};
}

Report KnobReport(int knob, int position) {
    return {Report::Knob, byte(knob), byte(position)};
}

Report JogWheelStep(bool left) {
    return {Report::JogWheel, 0, left ? Report::kJogLeft : kJogRight};
}

Report PedalReport(bool pressed) {
    return {Report::Pedal, 0, pressed ? Report::kPressed : uint8_t{0}};
}

Bytes XYPadBytes(int axis, int value) {
    return {kControlChange, byte(axis), byte(value)};
}
