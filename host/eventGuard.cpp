#include "host/frmMain.h"
#include "ui/MessageBox.h"

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
    pendingInput_.clear();
    try {
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
    if (padsRecalled_ || bKnob1State || bKnob2State)
        return true;
    for (int pad = 0; pad < kPads; ++pad)
        for (int bank = 0; bank < kBanks; ++bank)
            if (strPadMode[pad][bank] != "FLASH" || bPadState[pad][bank])
                return true;
    return false;
}
