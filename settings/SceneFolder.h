#pragma once

#include "settings/Scene.h"

#include <string>
#include <variant>
#include <vector>

// The scenes of this user: one file each, <name>.toml in $XDG_CONFIG_HOME/orvan/scenes.

inline constexpr size_t kMaxSceneFileBytes = 1 << 20;

std::string ScenesFolder();
// Whether a scene may have this name: a file name of its own, at most 100 characters.
bool UsableSceneName(const std::string& name);
// The names of the scenes there, sorted.
std::vector<std::string> ListScenes();
std::string ScenePath(const std::string& name);

// The scene in the file at path, when it is a regular file under 1 MB that parses; else why not,
// naming the file. A scene without a name takes the file's.
std::variant<Scene, std::string> ReadSceneFile(const std::string& path,
                                               const ControllerSettings& config);
// Writes the scene to path at once and whole; an empty text, or why not.
std::string WriteSceneFile(const std::string& path, const Scene& scene);
// Saves the scene under its name in the folder; an empty text, or why not.
std::string SaveScene(const Scene& scene);
// Gives a saved scene another name; an empty text, or why not.
std::string RenameScene(const std::string& from, const std::string& to,
                        const ControllerSettings& config);
// An empty text, or why not.
std::string DeleteScene(const std::string& name);
