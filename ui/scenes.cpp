#include "host/EngineRunner.h"
#include "settings/SceneFolder.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsBatch.h"
#include "settings/mSettings.h"
#include "ui/MappingEditor.h"
#include "ui/MessageBox.h"
#include "ui/StatusArea.h"
#include "ui/frmMain.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

// Scenes in the window: loading one makes it the setup to recall and the one to start with next.

namespace {
bool saved(const std::string& name) {
    const std::vector<std::string> names = ListScenes();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Where a scene is read from: a saved scene's file, or the path itself; the folder is listed once.
struct SceneSource {
    bool saved;
    std::string path;
};
SceneSource sourceOf(const std::string& nameOrPath) {
    const bool isSaved = saved(nameOrPath);
    return {isSaved, isSaved ? ScenePath(nameOrPath) : nameOrPath};
}
} // namespace

std::string frmMain::LoadScene(const std::string& nameOrPath) {
    const SceneSource source = sourceOf(nameOrPath);
    auto read = ReadSceneFile(source.path, settings_);
    if (const auto* why = std::get_if<std::string>(&read))
        return *why;
    Scene scene = std::get<Scene>(std::move(read));
    if (scene.pads.settings.bXYPadTap)
        scene.pads.tapIntervalMs = kXYTapRestMs;
    // A saved scene goes by its file's name; a file from elsewhere is found by its path at the
    // next start.
    if (source.saved)
        scene.name = nameOrPath;
    applyScene(scene);
    setSceneSource(source.saved ? nameOrPath : source.path);
    return {};
}

// The store then holds what the scene set, so that "Native Mode" recalls it and an ending saves
// it, whatever "AutoRecall" says.
void frmMain::applyScene(const Scene& scene) {
    if (!runner_.PostScene(scene.mapping, scene.pads, scene.name))
        throw HostError("the engine takes no more commands");
    settings_ = scene.pads.settings;
    mapping_ = scene.mapping;
    mappingEditor->setMapping(mapping_);
    sceneName_ = scene.name;
    padsRecalled_ = true;
    {
        SettingsBatch batch;
        for (const ConfigKey& key : kConfig)
            WriteSetting(key.name, SettingTextOf(key, settings_));
        WriteSetting(key::AutoRecall, "1");
        writePads(scene.pads);
    }
    showScene();
}

// At start-up the last scene's mapping plays again; its pads and values come back with the rest
// of the stored ones, which hold the changes made since it was loaded.
void frmMain::resumeScene() {
    const std::string last = ReadSetting(key::LastScene);
    if (last.empty())
        return;
    const SceneSource source = sourceOf(last);
    auto read = ReadSceneFile(source.path, settings_);
    if (const auto* why = std::get_if<std::string>(&read)) {
        std::fprintf(stderr, "orvan: the last scene is not played: %s\n", why->c_str());
        settingWarnings_.push_back("The last scene is not played: " + *why);
        return;
    }
    const Scene& scene = std::get<Scene>(read);
    ApplyMapping(scene.mapping);
    sceneName_ = source.saved ? last : scene.name;
    sceneSource_ = last;
    showScene();
}

void frmMain::setSceneSource(const std::string& source) {
    sceneSource_ = source;
    WriteSetting(key::LastScene, source);
    showScene();
}

Scene frmMain::currentScene() const {
    Scene scene;
    scene.name = sceneName_;
    scene.mapping = mapping_;
    scene.pads.settings = settings_;
    const ControllerState& state = snapshot_.state;
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
            scene.pads.padMode[pad][bank] = state.strPadMode[pad][bank];
            scene.pads.padState[pad][bank] = state.bPadState[pad][bank];
        }
    }
    return scene;
}

std::string frmMain::SaveSceneAs(const std::string& name) {
    RefreshFromHost();
    Scene scene = currentScene();
    scene.name = name;
    if (std::string why = SaveScene(scene); !why.empty())
        return why;
    sceneName_ = name;
    setSceneSource(name);
    return {};
}

std::string frmMain::RenameActiveScene(const std::string& name) {
    if (!saved(sceneName_))
        return "the active scene is not a saved one";
    if (std::string why = RenameScene(sceneName_, name, settings_); !why.empty())
        return why;
    sceneName_ = name;
    setSceneSource(name);
    return {};
}

std::string frmMain::DeleteSavedScene(const std::string& name) {
    if (std::string why = DeleteScene(name); !why.empty())
        return why;
    if (name == sceneSource_) {
        sceneName_.clear();
        setSceneSource("");
    }
    showScene();
    return {};
}

std::string frmMain::ImportScene(const std::string& path) {
    auto read = ReadSceneFile(path, settings_);
    if (const auto* why = std::get_if<std::string>(&read))
        return *why;
    if (std::string why = SaveScene(std::get<Scene>(read)); !why.empty())
        return why;
    return LoadScene(std::get<Scene>(read).name);
}

std::string frmMain::ExportScene(const std::string& path) {
    RefreshFromHost();
    Scene scene = currentScene();
    if (scene.name.empty())
        scene.name = "Exported";
    return WriteSceneFile(path, scene);
}

// The title and the picker name the active scene.
void frmMain::showScene() {
    setWindowTitle(sceneName_.empty()
                       ? QStringLiteral("Orvan")
                       : QStringLiteral("Orvan \u2014 ") + QString::fromStdString(sceneName_));
    QComboBox* picker = statusArea->scenePicker;
    const QSignalBlocker quiet(picker);
    picker->clear();
    for (const std::string& name : ListScenes())
        picker->addItem(QString::fromStdString(name), QString::fromStdString(name));
    const QString source = QString::fromStdString(sceneSource_);
    // A scene file from elsewhere is offered as what it is.
    if (!sceneSource_.empty() && picker->findData(source) < 0)
        picker->addItem(QString::fromStdString(sceneName_) + QStringLiteral(" (file)"), source);
    picker->setCurrentIndex(picker->findData(source));
}

// A program change on the scene channel chooses the saved scene at that place in the list.
void frmMain::followSceneRequests() {
    const ControllerState& state = snapshot_.state;
    if (state.sceneRequests == sceneRequests_)
        return;
    sceneRequests_ = state.sceneRequests;
    const std::vector<std::string> names = ListScenes();
    const auto at = static_cast<size_t>(state.sceneProgram);
    const std::string why = at < names.size()
                                ? LoadScene(names[at])
                                : "no saved scene has program number " + std::to_string(at);
    if (!why.empty())
        std::fprintf(stderr, "orvan: scene not switched: %s\n", why.c_str());
}

void frmMain::askScene(std::string (frmMain::*action)(const std::string&),
                       const QString& question) {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Orvan"), question, QLineEdit::Normal,
                              QString::fromStdString(sceneName_), &ok);
    if (!ok)
        return;
    if (const std::string why = (this->*action)(name.trimmed().toStdString()); !why.empty())
        ShowMessage(this, {QStringLiteral("Orvan"), QString::fromStdString(why), MsgKind::Warning});
}

void frmMain::buildSceneMenu() {
    auto* menu = new QMenu(statusArea->sceneMenu);
    auto act = [this, menu](const char* text, const std::function<void()>& chain) {
        connect(menu->addAction(QString::fromUtf8(text)), &QAction::triggered, this,
                [this, chain] { RunEvent(chain); });
    };
    const auto told = [this](const std::string& why) {
        if (!why.empty())
            ShowMessage(this,
                        {QStringLiteral("Orvan"), QString::fromStdString(why), MsgKind::Warning});
    };
    const QString filter = QStringLiteral("Scenes (*.toml);;All files (*)");
    act("Save scene as\u2026",
        [this] { askScene(&frmMain::SaveSceneAs, QStringLiteral("Save the scene as:")); });
    act("Rename scene\u2026", [this] {
        askScene(&frmMain::RenameActiveScene, QStringLiteral("New name of the scene:"));
    });
    act("Delete scene", [this, told] {
        if (ShowMessage(
                this,
                {QStringLiteral("Orvan"),
                 QStringLiteral("Delete the scene \"%1\"?").arg(QString::fromStdString(sceneName_)),
                 MsgKind::Question, true}) == MsgAnswer::Yes)
            told(DeleteSavedScene(sceneName_));
    });
    act("Import scene\u2026", [this, told, filter] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Import a scene"), QString(), filter);
        if (!path.isEmpty())
            told(ImportScene(path.toStdString()));
    });
    act("Export scene\u2026", [this, told, filter] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Export the scene"),
            QString::fromStdString(sceneName_.empty() ? "scene.toml" : sceneName_ + ".toml"),
            filter);
        if (!path.isEmpty())
            told(ExportScene(path.toStdString()));
    });
    statusArea->sceneMenu->setMenu(menu);
    connect(statusArea->scenePicker, &QComboBox::activated, this, [this, told](int index) {
        const std::string source =
            statusArea->scenePicker->itemData(index).toString().toStdString();
        RunEvent([this, told, source] { told(LoadScene(source)); });
    });
}
