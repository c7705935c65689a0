#pragma once

#include "host/EngineSnapshot.h"
#include "host/MidiHost.h"

#include <string>
#include <vector>

// The status area's lines, in plain words.

// "default: attached, 48000 Hz, 128 frames (2.7 ms)", or that it is lost or not running.
std::string ServerText(const LinkStatus& link);
// The top row's word on the link: "Attached as orvan", or that Orvan waits for the server.
std::string AttachmentText(const LinkStatus& link);
// How a side is connected: both ways, one way or not at all, and to which ports.
std::string ConnectionText(const std::vector<std::string>& from,
                           const std::vector<std::string>& to);
// "on, bank 2, channel 1", "off", that it waits for the controller or, pressed while no server
// is attached, that it is pending.
std::string NativeModeText(const EngineSnapshot& engine, bool controllerConnected, bool pending);
// Note repeat: "on, 1/16, own tempo 120 BPM", "off, 1/8T, transport master 98 BPM".
std::string RepeatText(const ControllerState& state);
// "none", or how many messages were lost and why.
std::string DropsText(const DropCounts& drops);
