#pragma once

#include <string>

// Orvan's folder of the user's configuration: $XDG_CONFIG_HOME/orvan (by default
// ~/.config/orvan), looked up at every call.
std::string ConfigFolder();
