#pragma once

#include "host/MidiHost.h"
#include "mapping/ControllerState.h"

#include <QMainWindow>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QCloseEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

// The one main window. It owns the host and the whole controller state; every operation of the
// engine is one of its methods, and each lives in the source file of the subsystem it belongs to.
class frmMain : public QMainWindow, public ControllerState {
    Q_OBJECT

public:
    using HostFactory = std::function<std::unique_ptr<MidiHost>()>;

    // Host input handled inside waits nests at most this deep; deeper input waits its turn.
    static constexpr int kMaxWaitDepth = 8;
    // At most this much input waits its turn; more is dropped, whole, and counted.
    static constexpr size_t kMaxHeldInput = 4096;

    explicit frmMain(HostFactory createHost, QWidget* parent = nullptr);
    ~frmMain() override;

    // Window lifecycle (host/frmMain.cpp)
    void Form_Load();
    void EnumMidiIO();
    void StayOpen_Click();
    void btnConfig_Click();
    void btnInfo_Click();
    void btnEnd_Click();
    void Form_Unload();
    void mWire_StopInputRequest();

    // Input dispatch (host/inputDispatch.cpp)
    void mWire_SysExInput(const std::string& bstrSysEx);
    void AnalyzeSysExInput(const std::string& bstrSysEx);
    void ZivUvozaroSysExIn(const std::string& bstrSysEx);
    void mWire_MidiInput(int32_t nTimestamp, int32_t port, int32_t Status, int32_t data1,
                         int32_t data2);
    void ProcessFeedBack(int16_t intBank, int32_t lData1, int32_t lData2);

    // Native mode (protocol/nativeMode.cpp)
    void btnInitNativeMode_Click();
    void InitNativeMode();
    void ZivUvozaro_InitVariables();

    // LEDs (protocol/ledPacket.cpp)
    void PadOn(const std::string& strInternalPadID);
    void PadOff(const std::string& strInternalPadID);
    void ZivUvozaro_SetLights();
    void PadOff_All();

    // LED display (protocol/display.cpp)
    void SetDisplay(std::string& strString, bool bWithTimer);
    void SetDisplayForTime(std::string strString);
    void tmrDisplay_Timer();

    // Pads (mapping/pads.cpp, mapping/padViews.cpp)
    void ZivUvozaro_PadPressed(const std::string& strID, bool bolOnOff,
                               const std::string& Velocity);
    void PadOnOff(const std::string& strInternalPadID, bool bolOnOff, int16_t intPadNumber,
                  const std::string& Velocity);
    void ZivUvozaro_ShowToggledPads(int16_t intBank);
    void ZivUvozaro_ShowCNPads(const std::string& strCNMode, int16_t intBank);
    void ZivUvozaro_ShowTRKPads(const std::string& strMode, int16_t intBank);
    void ZivUvozaro_ShowFDBPads(const std::string& strMode, int16_t intBank);
    void ZivUvozaro_RecreatePadstate(int16_t intBank);

    // Buttons and banks (mapping/buttons.cpp, mapping/banks.cpp)
    void ZivUvozaro_ButtonMatrix(const std::string& strID, bool bolPressed);
    void ZivUvozaro_ButtonPressed(const std::string& strID, bool bolOnOff);
    void ZivUvozaro_SetBank(int16_t intBank);

    // Knobs, jog wheel and XY pad (mapping/knobs.cpp, mapping/jogWheel.cpp, mapping/xyPad.cpp)
    void ZivUvozaro_CheckKnobTwist(const std::string& bstrSysEx, int16_t intKnob);
    void ZivUvozaro_JogWheel(const std::string& bstrSysEx);
    void ZivUvozaroXYMove(int32_t lData1, int32_t lData2);
    void ZivUvozaroXYTap(int32_t lData1, int32_t lData2);
    void tmrTap_Timer();

    // MIDI output (mapping/midiOutput.cpp)
    void SendCC(int16_t intCC, int16_t intValue);
    void SendNote(int16_t intNoteValue, int16_t intVelocity);
    void SendNoteOn(int16_t intNoteValue);
    void SendNoteOff(int16_t intNoteValue);
    void PulsedMidiOutPut(int16_t intWaitMiliSeconds, int16_t intNoteValue);

    // Settings (settings/settingsPersistence.cpp)
    void RestoreSettings();
    void LoadFdbPadsAlwaysActive();
    void SaveSettings();
    void RecallPadSettings();

    // Waits (host/hostInput.cpp): each pass ends 1 ms after the one before and dispatches pending
    // events.
    void SleepAndDispatch(int32_t passes);

    // Runs one event chain; a failure reports itself and ends the program (host/eventGuard.cpp).
    void RunEvent(const std::function<void()>& chain);

    // The host; throws a host error when none is attached.
    MidiHost& Wire();

    int WaitDepth() const { return waitDepth_; }
    int DeepestWaitDepth() const { return deepestWaitDepth_; }
    bool Ending() const { return bEnding_; }
    long DroppedInput() const { return droppedInput_; }

    // Controls
    QLineEdit* VersionText = nullptr;
    QLineEdit* numInstances = nullptr;
    QLineEdit* Status = nullptr;
    QListWidget* ListSysMidiIn = nullptr;
    QListWidget* ListSysMidiOut = nullptr;
    QListWidget* ListOpenMidiIn = nullptr;
    QListWidget* ListOpenMidiOut = nullptr;
    QCheckBox* StayOpen = nullptr;
    QPushButton* btnInitNativeMode = nullptr;
    QPushButton* btnConfig = nullptr;
    QPushButton* btnInfo = nullptr;
    QPushButton* btnEnd = nullptr;
    QTimer tmrDisplay;
    QTimer tmrTap;

    std::unique_ptr<MidiHost> mWire;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void EndOnError(const std::string& what);
    bool PadsWorthSaving() const;
    void queueHostInput(std::function<void()> input);
    void drainHostInput();

    HostFactory createHost_;
    std::deque<std::function<void()>> pendingInput_;
    int waitDepth_ = 0;
    int deepestWaitDepth_ = 0;
    long droppedInput_ = 0;
    bool bEnding_ = false;
    bool padsRecalled_ = false; // the stored pads were loaded in this run
    bool bUnloaded_ = false;
};
