#pragma once

#include "settings/RegFile.h"
#include "settings/RegistryFile.h"
#include "settings/mSettings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

// Gives one test a settings store of its own: XDG_CONFIG_HOME points at a new, empty folder
// until the object goes away.
class FreshStore {
public:
    FreshStore() {
        const char* outer = std::getenv("XDG_CONFIG_HOME");
        previous_ = outer ? outer : "";
        std::string pattern = (outer ? std::string(outer) : std::string("/tmp")) + "/store-XXXXXX";
        home_ = mkdtemp(pattern.data()) ? pattern : std::string();
        setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
    }
    ~FreshStore() {
        setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    FreshStore(const FreshStore&) = delete;
    FreshStore& operator=(const FreshStore&) = delete;

    std::string folder() const { return home_ + "/orvan"; }
    std::string file() const { return folder() + "/registry.reg"; }

    std::string contents() const {
        std::ifstream in(file(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) const {
        std::filesystem::create_directories(folder());
        std::ofstream(file(), std::ios::binary) << text;
    }
    // Files in the store's folder whose names begin with prefix.
    int count(const std::string& prefix) const {
        int n = 0;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder(), ignored))
            n += entry.path().filename().string().starts_with(prefix);
        return n;
    }

    // The value names of the settings key in the order the file lists them, comma-separated.
    static std::string names() {
        const RegDocument document = ReadRegistryFile();
        const RegKey* key = document.findKey("HKEY_CURRENT_USER\\Software\\ZivUvozaro");
        std::string names;
        for (size_t i = 0; key && i < key->values().size(); ++i)
            names += (i ? ", " : "") + key->values()[i].name;
        return names;
    }

private:
    std::string previous_;
    std::string home_;
};

// Writes settings given as "Name=text, Name=text".
inline void WriteSettings(const std::string& list) {
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ',');) {
        const size_t name = item.find_first_not_of(' '), equals = item.find('=');
        WriteSetting(item.substr(name, equals - name), item.substr(equals + 1));
    }
}

// The stored texts of the settings named, as "Name=text, Name=text".
inline std::string ReadSettings(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name + "=" + ReadSetting(name);
    return list;
}
