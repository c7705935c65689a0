#pragma once

#include <string>
#include <utility>
#include <vector>

// Writes Orvan's settings store under `configHome` (what XDG_CONFIG_HOME names) with these
// values, as the store's own export text.
void WriteSettingsStore(const std::string& configHome,
                        const std::vector<std::pair<std::string, std::string>>& settings);

// A fresh folder for this run's settings and logs, set as XDG_CONFIG_HOME for Orvan; Qt on the
// offscreen platform.
std::string MakeConfigHome();
