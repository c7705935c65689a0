#pragma once

#include "host/MidiHost.h"

#include <string>
#include <vector>

// What stands between a new user and playing, in plain words with the command to type: no MIDI
// device on the server, or a period too long for finger drumming. Nothing when all is well.
std::vector<std::string> SetupHints(const LinkStatus& link);

// Periods longer than this are said to be too long to play with.
inline constexpr uint32_t kPlayablePeriod = 256;

// "DSP load 4 %, no late cycles (xruns) since start".
std::string LoadText(const ServerLoad& load);
