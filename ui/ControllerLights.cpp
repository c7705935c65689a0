#include "ui/ControllerLights.h"

#include "engine/ButtonTable.h"
#include "engine/HexText.h"

bool ControllerLights::take(ByteView message) {
    const ControllerMessage m = ParseControllerMessage(message);
    const auto leds = leds_;
    const std::string display = display_;
    switch (m.kind) {
    case ControllerMessage::LedPacket:
        leds_ = m.leds;
        display_ = m.display;
        break;
    case ControllerMessage::SingleLed:
        leds_[m.led] = m.on;
        break;
    case ControllerMessage::DisplayText:
        display_ = m.display;
        break;
    default:
        return false;
    }
    return leds != leds_ || display != display_;
}

bool ControllerLights::buttonLit(int button) const {
    return lit(HextoDec(native::kButtonLedIds.at(button)));
}

int ControllerLights::bank() const {
    for (size_t bank = 0; bank < kBankButtonLedIds.size(); ++bank)
        if (lit(HextoDec(kBankButtonLedIds[bank])))
            return static_cast<int>(bank);
    return -1;
}
