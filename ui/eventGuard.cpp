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
        SavePadsUnasked();
    } catch (const std::exception&) {
        // Whatever could be written is written.
    }
    ShowMessage(this, {QStringLiteral("Orvan"),
                       QStringLiteral("Orvan has to stop: %1").arg(QString::fromStdString(what)),
                       MsgKind::Critical, false});
    close(); // the last window closing ends the program
}
