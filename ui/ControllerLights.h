#pragma once

#include "ui/ControllerMessage.h"

#include <array>
#include <string>

// What the controller shows, followed from the messages Orvan sends it: its LEDs and its
// display. A display text stands until the next LED packet brings the packet's own text back.
class ControllerLights {
public:
    // One message sent to the controller; true when what the controller shows changed.
    bool take(ByteView message);

    bool lit(int led) const { return leds_.at(led); }
    bool padLit(int pad) const { return lit(pad); }
    // By button table index (engine/ButtonTable.h).
    bool buttonLit(int button) const;
    // Three characters in reading order.
    const std::string& display() const { return display_; }
    // The bank whose bank button is lit (0..2), or -1 while none is.
    int bank() const;

private:
    std::array<bool, ControllerMessage::kLeds> leds_{};
    std::string display_ = "   ";
};
