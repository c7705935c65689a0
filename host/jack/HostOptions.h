#pragma once

#include <string>

// How the JACK host attaches itself and which ports it connects on its own.
struct HostOptions {
    std::string server; // empty: JACK's default server
    std::string clientName = "orvan";
    std::string controllerPorts; // regular expression on full port names; empty: none
    std::string dawPorts;        // the same for the music software
};
