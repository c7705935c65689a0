#pragma once

#include "Bytes.h"
#include "ChildProcess.h"

#include <jack/jack.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A native-mode report of the controller: F0 42 40 6E 08, kind, two bytes, F7.
Bytes NativeReport(uint8_t kind, uint8_t byte7, uint8_t byte8);

// True when the port has at least `count` connections.
bool PortConnected(jack_client_t* client, const std::string& port, int count);

// The real binary on the server as client `name`, reading the controller port and playing into
// the music software's ports `dawPattern` matches, its output in `log`. Waits until `wired`
// holds, then a second for the connections to take effect and start-up to end. Null, with the
// log on standard error, when it did not start or connect.
std::unique_ptr<ChildProcess> StartOrvan(const std::string& server, const std::string& name,
                                         const std::string& controllerPort,
                                         const std::string& dawPattern, const std::string& log,
                                         const std::function<bool()>& wired);
