#pragma once

#include "PrivateServer.h"

// The server most tests share: started on first use, stopped when the test program ends.
// Synchronous, so that a client running late on a loaded machine delays the cycle instead of
// losing or repeating the MIDI it exchanges.
PrivateServer& SharedServer();
