#pragma once

#include "settings/RegFile.h"

#include <functional>
#include <string>

// The file that holds the registry on Linux: $XDG_CONFIG_HOME/orvan/registry.reg (by default
// ~/.config/orvan/registry.reg), looked up at every call. Readers share a lock, writers hold it
// alone; a write replaces the whole file at once, so nobody ever sees half of one.

std::string RegistryFilePath();

// The registry as stored; empty when the file is missing or cannot be parsed.
RegDocument ReadRegistryFile();

// Runs change on the stored registry under the exclusive lock and stores the result when change
// says it changed something. False when that could not be done; the old file is then untouched.
// An unparseable file is kept aside as registry.reg.bad-<timestamp> before it is replaced.
bool UpdateRegistryFile(const std::function<bool(RegDocument&)>& change);
