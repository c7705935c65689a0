#include "BenchStore.h"

#include "settings/RegFile.h"
#include "settings/RegTypes.h"

#include <filesystem>
#include <fstream>

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
