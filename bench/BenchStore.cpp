#include "BenchStore.h"

#include "settings/RegFile.h"
#include "settings/RegTypes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

void WriteSettingsStore(const std::string& configHome,
                        const std::vector<std::pair<std::string, std::string>>& settings) {
    RegDocument document;
    RegKey& key = document.ensureKey("HKEY_CURRENT_USER\\Software\\ZivUvozaro");
    for (const auto& [name, value] : settings)
        key.setValue({name, reg::kSz, value});
    const std::filesystem::path folder = std::filesystem::path(configHome) / "orvan";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "registry.reg", std::ios::binary) << RegText(document);
}

std::string MakeConfigHome() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char dir[] = "/tmp/orvan-bench-XXXXXX";
    if (!mkdtemp(dir))
        throw std::runtime_error("cannot make a folder for the run");
    setenv("XDG_CONFIG_HOME", dir, 1);
    return dir;
}
