#pragma once

#include "settings/RegFile.h"

#include <cstddef>
#include <functional>
#include <string>

// The file that holds the registry on Linux: $XDG_CONFIG_HOME/orvan/registry.reg (by default
// ~/.config/orvan/registry.reg), looked up at every call outside a batch. Readers share a lock,
// writers hold it alone; a write replaces the whole file at once, so nobody ever sees half of one.
// A symbolic link there stays one: it is read through, and the file it leads to replaced, only
// when that is a settings file of the user's own and the folder is one only the user may write.
//
// The parsed file is kept and read again only when the file's identity changed. Changes made
// inside a batch (see SettingsBatch.h) are saved together when it ends; outside one each change
// is saved at once. Problems are told through StoreNotices.h.

// Larger files are treated like unparseable ones, and larger settings are not saved.
inline constexpr size_t kMaxRegistryFileBytes = 1 << 20;

std::string RegistryFilePath();

// The registry as stored, with the changes of the batch under way; empty when the file is
// missing or unusable. Valid until the next call into the store.
const RegDocument& ReadRegistryFile();

// A change to the registry: true when it changed something. It may run again, on the file as
// another process left it, so it holds what it needs by value.
using RegistryChange = std::function<bool(RegDocument&)>;

// Runs change on the registry. Outside a batch the result is saved at once: false when that could
// not be done, the old file then untouched. An unparseable file is kept aside as
// registry.reg.bad-<timestamp> before it is replaced; one that is no regular file, cannot be read
// or is read-only, and a link that is not followed, is never replaced.
bool UpdateRegistryFile(RegistryChange change);

// Batches nest; the outermost end saves what changed and answers whether that worked.
void BeginRegistryBatch();
bool EndRegistryBatch();
