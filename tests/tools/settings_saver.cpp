// Runs Orvan's main window on a recording host and works its settings store, for
// tests of faults that only another process can suffer.
//   settings_saver --loop       forever: every pad mode = "R<n>", every pad state and both knobs
//                               on for odd n, "<n>" and a newline on standard output, then the
//                               pads and knobs saved; n goes on from the round stored first
//   settings_saver --session    start-up, pads recalled and changed, the configuration dialog's
//                               "Okay" with the XY tap box flipped, then "Quit" answered "Yes";
//                               prints what start-up restored and every message shown; for a
//                               store that may not be written (exit code 3 when it may)
// With --no-override first, it gives up the capabilities that let root write where file modes
// forbid it, so that a read-only store is read-only for it too; exit code 4 when it cannot. It
// stays root otherwise: another user might reach no file at all (inside a chroot whose root
// folder is 0700, not even the Qt plugins or the store). Exit code 0 when the window never had
// to end.
#include "settings/RegistryFile.h"
#include "settings/mSettings.h"
#include "support/Harness.h"
#include "ui/frmConfig.h"

#include <QApplication>
#include <QCheckBox>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool dropOverrides() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, caps) != 0)
        return false;
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        const uint32_t bit = 1u << (cap % 32);
        caps[cap / 32].effective &= ~bit;
        caps[cap / 32].permitted &= ~bit;
        caps[cap / 32].inheritable &= ~bit;
    }
    return syscall(SYS_capset, &header, caps) == 0;
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
    if (argc > 1 && std::strcmp(argv[1], "--no-override") == 0) {
        if (!dropOverrides())
            return 4;
        arg = 2;
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
