#include "ui/MessageBox.h"
#include "ui/frmMain.h"

void frmMain::RunEvent(const std::function<void()>& chain) {
    try {
        chain();
    } catch (const std::exception& error) {
        EndOnError(error.what());
    }
}

MidiHost& frmMain::Wire() {
    if (!mWire)
        throw HostError("No MIDI host is attached");
    return *mWire;
}

// An error ends the program, but not before the pad assignments are safe in the store.
void frmMain::EndOnError(const std::string& what) {
    if (bEnding_)
        return; // a chain abandoned because the program is already ending
    bEnding_ = true;
    try {
        RefreshFromHost();
        if (PadsWorthSaving())
            SaveSettings();
    } catch (const std::exception&) {
        // The store reports nothing; whatever could be written is written.
    }
    ShowMessage(this, {QStringLiteral("Orvan"),
                       QStringLiteral("Orvan has to stop: %1").arg(QString::fromStdString(what)),
                       MsgKind::Critical, false});
    close(); // the last window closing ends the program
}

// Pads still as they were at start-up would overwrite the stored ones with nothing: only pads
// recalled or changed in this run are saved on an error.
bool frmMain::PadsWorthSaving() const {
    const ControllerState& state = snapshot_.state;
    if (padsRecalled_ || state.bKnob1State || state.bKnob2State)
        return true;
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            if (state.strPadMode[pad][bank] != "FLASH" || state.bPadState[pad][bank])
                return true;
    return false;
}
