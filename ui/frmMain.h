#pragma once

#include "engine/ControllerState.h"
#include "engine/Mapping.h"
#include "engine/PadRecall.h"
#include "host/EngineSnapshot.h"
#include "host/MidiHost.h"
#include "host/MonitoredMessage.h"
#include "settings/Scene.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ControllerView;
class EngineRunner;
class MappingEditor;
class MidiMonitor;
class QCloseEvent;
class QSplitter;
class StatusArea;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// The main window. It owns the host, which runs the controller engine on the server's thread;
// the window sends the engine commands through its runner and shows snapshots of its state. The
// settings it keeps are the ones it gave the engine last.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    using HostFactory = std::function<std::unique_ptr<MidiHost>()>;

    // How often the window looks at the host: within one screen frame.
    static constexpr int kRefreshMs = 16;
    // Idle (nothing new for kLooksBeforeIdle looks), it looks this often; anything new, a click
    // or a key brings it back to kRefreshMs.
    static constexpr int kIdleRefreshMs = 100;
    static constexpr int kLooksBeforeIdle = 30;
    // Tapping on the XY pad rests this long after each tap.
    static constexpr int kXYTapRestMs = 200;

    // The runner outlives the window and every host the factory makes.
    frmMain(EngineRunner& runner, HostFactory createHost, QWidget* parent = nullptr);
    ~frmMain() override;

    // Window lifecycle (ui/frmMain.cpp)
    void Form_Load();
    void EnumMidiIO();
    // The four lists, the status area and the pickers, as the graph is now.
    void RefreshLink();
    void btnInitNativeMode_Click();
    void btnConfig_Click();
    void btnInfo_Click();
    void btnEnd_Click();
    void Form_Unload();
    void mWire_StopInputRequest();

    // Settings (ui/settingsPersistence.cpp): the store into the settings kept here and sent to
    // the engine, the pads of the newest snapshot into the store, and the recall read ahead.
    // The tap timer's interval it sets, when it sets one.
    std::optional<int> RestoreSettings();
    void LoadFdbPadsAlwaysActive();
    // False when the store could not keep them (the user has been told why).
    bool SaveSettings();
    // SaveSettings at an ending nobody was asked about (an error, a signal, the close box), when
    // the pads are worth it and the ending has not dealt with them yet; a failure is said on
    // standard error.
    void SavePadsUnasked();
    PadRecall RecallPadSettings();

    // Runs one event chain of the window; a failure reports itself and ends the program
    // (ui/eventGuard.cpp).
    void RunEvent(const std::function<void()>& chain);

    // The engine's newest state, what it handled and sent, and the host's events.
    void RefreshFromHost();
    const EngineSnapshot& Snapshot() const { return snapshot_; }
    ControllerSettings& Settings() { return settings_; }

    // The player's mapping: kept here and played by the engine from its next cycle.
    void ApplyMapping(const Mapping& mapping);
    const Mapping& CurrentMapping() const { return mapping_; }

    // Scenes (ui/scenes.cpp). Each returns an empty text, or why it did nothing; the scene that
    // plays keeps playing then.
    // A whole scene, by its saved name or a file's path: every note ends, then its mapping, pads
    // and "Config" values apply and are kept as the ones to recall; Orvan starts with it next.
    std::string LoadScene(const std::string& nameOrPath);
    // What plays now, saved under a name (which becomes the active scene's).
    std::string SaveSceneAs(const std::string& name);
    std::string RenameActiveScene(const std::string& name);
    std::string DeleteSavedScene(const std::string& name);
    // A scene file from anywhere, saved among the scenes and loaded.
    std::string ImportScene(const std::string& path);
    std::string ExportScene(const std::string& path);
    const std::string& SceneName() const { return sceneName_; }

    // The host; throws a host error when none is attached.
    MidiHost& Wire();

    bool Ending() const { return bEnding_; }

    // Controls
    QLineEdit* VersionText = nullptr;
    QLineEdit* numInstances = nullptr;
    QLineEdit* Status = nullptr;
    QListWidget* ListSysMidiIn = nullptr;
    QListWidget* ListSysMidiOut = nullptr;
    QListWidget* ListOpenMidiIn = nullptr;
    QListWidget* ListOpenMidiOut = nullptr;
    QToolButton* btnLists = nullptr; // checked: the four lists are shown
    QPushButton* btnInitNativeMode = nullptr;
    QPushButton* btnConfig = nullptr;
    QPushButton* btnInfo = nullptr;
    QPushButton* btnEnd = nullptr;
    StatusArea* statusArea = nullptr;
    ControllerView* controllerView = nullptr;
    QToolButton* btnMapping = nullptr; // checked: the mapping editor is shown
    MappingEditor* mappingEditor = nullptr;
    MidiMonitor* midiMonitor = nullptr;

    std::unique_ptr<MidiHost> mWire;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildEditor();
    // A control touched on the controller is chosen for the editor; the music software's next
    // note or controller may be learned (ui/mappingEditing.cpp).
    void editFrom(const MonitoredMessage& message);
    void EndOnError(const std::string& what);
    bool PadsWorthSaving() const;
    void sendSettings(std::optional<int> tapIntervalMs = std::nullopt);
    void showInstance();
    void showEngine(const std::vector<MonitoredMessage>& taken, const DropCounts& drops);
    void pollHost();
    void wake();
    void showAttachment(const LinkStatus& link);
    void fillLists();
    void showLink();
    void rememberedPorts();
    void choosePorts(bool controller, const std::string& pattern);
    void mWire_Reattached();
    void releaseHost();
    // The window's size and place and its panes' sizes, kept between runs and checked when
    // read back (ui/windowLayout.cpp).
    void restoreLayout();
    void saveLayout();
    // Scenes (ui/scenes.cpp)
    void resumeScene();
    // Into the store, as the pads to recall (ui/settingsPersistence.cpp).
    void writePads(const PadRecall& pads);
    void applyScene(const Scene& scene);
    Scene currentScene() const;
    void showScene();
    // Where the active scene comes from: a saved scene's name or a file's path; the next start
    // loads it again.
    void setSceneSource(const std::string& source);
    void followSceneRequests();
    void followRepeatChanges();
    void askScene(std::string (frmMain::*action)(const std::string&), const QString& question);
    void buildSceneMenu();

    EngineRunner& runner_;
    HostFactory createHost_;
    ControllerSettings settings_;
    Mapping mapping_;
    std::string sceneName_;      // the active scene's, empty when none
    std::string sceneSource_;    // its saved name or its file's path
    uint32_t sceneRequests_ = 0; // program changes on the scene channel seen
    uint32_t repeatChanges_ = 0; // rate and tempo changes made on the controller, seen
    EngineSnapshot snapshot_;
    QTimer refresh_;
    QTimer loadTimer_;
    int idleLooks_ = 0;
    bool showAll_ = false; // the next look shows everything, changed or not
    DropCounts shownDrops_;
    QSplitter* panes_ = nullptr;
    QSplitter* seeAndPlay_ = nullptr;
    bool bEnding_ = false;
    bool bUnloaded_ = false;
    bool padsRecalled_ = false;    // the stored pads were sent to the engine in this run
    bool padsSettled_ = false;     // the ending saved the pads, or the user chose to lose them
    uint32_t nativePresses_ = 0;   // "Native Mode" presses sent to the engine
    uint64_t monitorOverflow_ = 0; // messages the engine could not keep for the monitor, shown
    // Remembered settings left out of this run, and why: shown among the link's warnings.
    std::vector<std::string> settingWarnings_;
    // A host released while it raised an event goes once the event is over.
    bool polling_ = false;
    std::unique_ptr<MidiHost> releasing_;
};
