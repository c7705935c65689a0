#pragma once

#include "host/frmMain.h"

#include <cstddef>
#include <cstdint>

// One main window in native mode on a host that discards everything. Each input starts from the
// same state; its first byte picks the settings, so every output kind gets exercised.
frmMain& EngineUnderFuzz(const uint8_t* data, size_t size);

// Aborts when an input made the program end: no input may do that.
void RequireStillRunning(const frmMain& m);
