// Runs Orvan's main window on a recording host and works its settings store, for
// tests of faults that only another process can suffer.
//   settings_saver --loop       forever: every pad mode = "R<n>", every pad state and both knobs
//                               on for odd n, "<n>" and a newline on standard output, then the
//                               pads and knobs saved; n goes on from the round stored first
//   settings_saver --session    start-up, pads recalled and changed, the configuration dialog's
//                               "Okay" with the XY tap box flipped, then "Quit" answered "Yes";
//                               prints what start-up restored and every message shown; for a
//                               store that may not be written (exit code 3 when it may)
// With --as-user UID first, it runs as that user (from root, for whom nothing is read-only); exit
// code 4 when it cannot. Exit code 0 when the window never had to end.
#include "settings/RegistryFile.h"
#include "settings/mSettings.h"
#include "support/Harness.h"
#include "ui/frmConfig.h"

#include <QApplication>
#include <QCheckBox>

#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool becomeUser(const char* uid) {
    const auto id = static_cast<uid_t>(std::strtoul(uid, nullptr, 10));
    return setgroups(0, nullptr) == 0 && setgid(id) == 0 && setuid(id) == 0 && getuid() == id &&
           geteuid() == id;
}

void setRound(ControllerEngine& main, long round) {
    const bool odd = round % 2 != 0;
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        for (int bank = 0; bank < ControllerState::kBanks; ++bank) {
            main.strPadMode[pad][bank] = ModeText("R" + std::to_string(round));
            main.bPadState[pad][bank] = odd;
        }
    }
    main.bKnob1State = main.bKnob2State = odd;
}

[[noreturn]] void loop(Harness& h) {
    const std::string stored = ReadSetting("PadMode_1_01");
    long round = stored.starts_with('R') ? std::strtol(stored.c_str() + 1, nullptr, 10) + 1 : 1;
    h.main().bAssignToggled = true; // the knobs are saved too
    for (;; ++round) {
        setRound(h.main(), round);
        std::printf("%ld\n", round);
        std::fflush(stdout);
        h.settle();
        h.window().SaveSettings();
    }
}

bool storeWritable() {
    const std::string file = RegistryFilePath();
    return ::access(file.substr(0, file.rfind('/')).c_str(), W_OK) == 0;
}

void session(Harness& h) {
    ControllerEngine& main = h.main();
    std::printf("channel=%d pad=%s\n", main.intMidiChannel + 1, main.strPadMode[0][0].c_str());
    main.RecallPadSettings(h.window().RecallPadSettings());
    std::printf("recalled pad=%s\n", main.strPadMode[0][0].c_str());
    main.strPadMode[0][0] = "TOGGLE";
    main.bPadState[0][0] = !main.bPadState[0][0];
    h.settle();
    {
        frmConfig dialog(h.window().Settings(), &h.window());
        dialog.Form_Load();
        dialog.chkXYPadTap->setChecked(!dialog.chkXYPadTap->isChecked());
        dialog.btnOkay_Click();
    }
    h.window().btnEnd_Click();
}
} // namespace

int main(int argc, char** argv) {
    int arg = 1;
    if (argc > 2 && std::strcmp(argv[1], "--as-user") == 0) {
        if (!becomeUser(argv[2]))
            return 4;
        arg = 3;
    }
    if (argc != arg + 1)
        return 2;
    const std::string mode = argv[arg];
    if (mode == "--session" && storeWritable())
        return 3;

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    Harness h;
    SetMessageHandler([](const MessageRequest& request) {
        std::printf("message: %s\n", qPrintable(request.text));
        return request.yesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    });
    h.load();
    if (mode == "--loop")
        loop(h);
    if (mode != "--session")
        return 2;
    session(h);
    return h.window().Ending() ? 1 : 0;
}
