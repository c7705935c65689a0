#pragma once

#include "host/jack/HostOptions.h"

#include <string>
#include <vector>

// What the command line asks for: how to attach to JACK, and what to do once started.
struct LaunchOptions {
    HostOptions host;
    std::string scene; // a saved scene's name or a scene file's path
    bool nativeMode = false;
    bool help = false;
    bool version = false;
};

struct LaunchParse {
    LaunchOptions options;
    std::string error; // empty when the command line is good
};

// Reads the arguments after the program name. Values follow their option as the next argument
// or after "=" ("--server NAME", "--server=NAME"). defaultServer is JACK_DEFAULT_SERVER, the
// server's name when no --server is given.
LaunchParse ParseLaunchOptions(const std::vector<std::string>& arguments,
                               const char* defaultServer = nullptr);

std::string LaunchUsage();
