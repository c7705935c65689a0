#pragma once

#include "host/MidiHost.h"

#include <string>
#include <vector>

// What the "Controller" and "Music software" pickers offer: the other clients' MIDI ports, a
// client at a time (those with physical ports first), each device with the ports that send and
// receive for it, so that one choice connects both directions. Never another Orvan's ports, nor
// the ports the other side is connected to.
struct PortChoice {
    std::string client;
    std::string label;   // the device's ports, "midi_capture_2 + midi_playback_2"
    std::string pattern; // matches exactly those ports
};

std::vector<PortChoice> PortChoices(const std::vector<PortInfo>& ports,
                                    const std::vector<std::string>& otherSide);

// The pattern that matches exactly these full port names.
std::string ExactPattern(const std::vector<std::string>& names);
