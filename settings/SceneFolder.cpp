#include "settings/SceneFolder.h"

#include "settings/ConfigFolder.h"
#include "settings/StoreFiles.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {
constexpr std::string_view kExtension = ".toml";

std::string failed(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

std::string fileStem(const std::string& path) {
    const std::string file = path.substr(path.rfind('/') + 1);
    return file.ends_with(kExtension) ? file.substr(0, file.size() - kExtension.size()) : file;
}
} // namespace

std::string ScenesFolder() {
    return ConfigFolder() + "/scenes";
}

bool UsableSceneName(const std::string& name) {
    return !name.empty() && name.size() <= 100 && name[0] != '.' &&
           name.find_first_of(std::string("/\\0", 2)) == std::string::npos &&
           std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string ScenePath(const std::string& name) {
    return ScenesFolder() + "/" + name + std::string(kExtension);
}

std::vector<std::string> ListScenes() {
    std::vector<std::string> names;
    DIR* dir = ::opendir(ScenesFolder().c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string file = entry->d_name;
        const std::string name = fileStem(file);
        if (file.ends_with(kExtension) && UsableSceneName(name))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::variant<Scene, std::string> ReadSceneFile(const std::string& path,
                                               const ControllerSettings& config) {
    const FileRead read = ReadRegularFile(path, kMaxSceneFileBytes, true);
    switch (read.kind) {
    case FileRead::Kind::Text:
        break;
    case FileRead::Kind::Missing:
        return path + ": no such scene file";
    case FileRead::Kind::NotRegular:
        return path + ": not a regular file";
    case FileRead::Kind::TooLarge:
        return path + ": larger than 1 MB";
    case FileRead::Kind::Failed:
        errno = read.error;
        return failed("cannot read", path);
    }
    auto parsed = ParseScene(read.text, path, config);
    if (auto* scene = std::get_if<Scene>(&parsed); scene && scene->name.empty())
        scene->name = fileStem(path);
    return parsed;
}

std::string WriteSceneFile(const std::string& path, const Scene& scene) {
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(path, error).string();
    if (error)
        return "cannot write " + path + ": " + error.message();
    return ReplaceFile(absolute, SceneText(scene)) ? "" : failed("cannot write", absolute);
}

std::string SaveScene(const Scene& scene) {
    if (!UsableSceneName(scene.name))
        return "\"" + scene.name + "\" cannot name a scene file";
    if (!MakeFolders(ScenesFolder()))
        return failed("cannot make", ScenesFolder());
    // Writers of one folder take turns: a save removes the half-written files of dead ones.
    const Fd lock = LockFile(ScenesFolder() + "/.lock", true);
    if (lock.get() < 0)
        return failed("cannot lock", ScenesFolder());
    return WriteSceneFile(ScenePath(scene.name), scene);
}

std::string RenameScene(const std::string& from, const std::string& to,
                        const ControllerSettings& config) {
    auto read = ReadSceneFile(ScenePath(from), config);
    if (const auto* why = std::get_if<std::string>(&read))
        return *why;
    const std::vector<std::string> names = ListScenes();
    if (std::find(names.begin(), names.end(), to) != names.end())
        return "a scene named \"" + to + "\" exists already";
    Scene scene = std::get<Scene>(std::move(read));
    scene.name = to;
    if (std::string why = SaveScene(scene); !why.empty())
        return why;
    return DeleteScene(from);
}

std::string DeleteScene(const std::string& name) {
    const std::string path = ScenePath(name);
    return ::unlink(path.c_str()) == 0 ? "" : failed("cannot delete", path);
}
