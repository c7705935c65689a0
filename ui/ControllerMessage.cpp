#include "ui/ControllerMessage.h"

#include "engine/NativeMessages.h"

#include <algorithm>

namespace {
constexpr size_t kLedBytes = 5;
constexpr size_t kDisplayBytes = 3;

ControllerMessage of(ControllerMessage::Kind kind) {
    ControllerMessage m;
    m.kind = kind;
    return m;
}

// Characters the display cannot show stay blank.
char shown(uint8_t c) {
    return c >= 0x20 && c <= 0x7E ? static_cast<char>(c) : ' ';
}

// Head, five LED bytes, one byte, three display bytes last character first, F7.
ControllerMessage ledPacket(ByteView values) {
    ControllerMessage m = of(ControllerMessage::LedPacket);
    for (int led = 0; led < ControllerMessage::kLeds; ++led)
        m.leds[led] = (values[led / 7] >> (led % 7)) & 1;
    for (size_t i = 0; i < kDisplayBytes; ++i)
        m.display += shown(values[kLedBytes + kDisplayBytes - i]);
    return m;
}

// Head, LED id (40 + n names LED n as n does), 20 on or 00 off, F7.
ControllerMessage singleLed(ByteView values) {
    ControllerMessage m = of(ControllerMessage::SingleLed);
    const int id = values[0];
    const int led = id >= native::kPadHitForm ? id - native::kPadHitForm : id;
    if (led >= ControllerMessage::kLeds)
        return {};
    m.led = led;
    m.on = values[1] != 0;
    return m;
}

ControllerMessage displayText(ByteView values) {
    ControllerMessage m = of(ControllerMessage::DisplayText);
    for (size_t i = 0; i < kDisplayBytes; ++i)
        m.display += shown(values[i]);
    return m;
}

bool equal(ByteView a, ByteView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
} // namespace

ControllerMessage ParseControllerMessage(ByteView message) {
    static const Bytes switchOn = MessageBytes(native::kSwitchOn);
    static const Bytes setup = MessageBytes(native::kSetupPacket);
    static const Bytes entry = MessageBytes(native::kEntryLedPacket);
    static const Bytes packetHead = HeadBytes(native::kLedPacketHead);
    static const Bytes singleHead = HeadBytes(native::kSingleLedHead);
    static const Bytes displayHead = HeadBytes(native::kDisplayTextHead);
    // Each kind: its head, and the bytes between the head and F7.
    const auto body = [&](const Bytes& head, size_t size) {
        return message.size() == head.size() + size + 1 && StartsWith(message, head)
                   ? message.subspan(head.size(), size)
                   : ByteView();
    };

    if (equal(message, switchOn))
        return of(ControllerMessage::SwitchOn);
    if (equal(message, setup))
        return of(ControllerMessage::Setup);
    if (const ByteView v = body(packetHead, kLedBytes + 1 + kDisplayBytes); !v.empty()) {
        ControllerMessage m = ledPacket(v);
        m.entry = equal(message, entry);
        return m;
    }
    if (const ByteView v = body(singleHead, 2); !v.empty())
        return singleLed(v);
    if (const ByteView v = body(displayHead, kDisplayBytes); !v.empty())
        return displayText(v);
    return {};
}
