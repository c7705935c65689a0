#include "EngineUnderFuzz.h"

#include "support/NullHost.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char dir[] = "/tmp/orvan-fuzz-XXXXXX";
    if (mkdtemp(dir))
        setenv("XDG_CONFIG_HOME", dir, 1);
    static QApplication app(*argc, *argv);
    return 0;
}

frmMain& EngineUnderFuzz(const uint8_t* data, size_t size) {
    static frmMain* m = [] {
        auto* window = new frmMain([] { return std::make_unique<NullHost>(); });
        window->Form_Load();
        window->btnInitNativeMode_Click();
        return window;
    }();
    static const ControllerState initial = *m;

    static_cast<ControllerState&>(*m) = initial;
    const uint8_t flags = size > 0 ? data[0] : 0;
    auto kind = [&](int bit) { return (flags >> bit) & 1 ? "CC" : "MIDI"; };
    m->bFixedVelocity = flags & 1;
    m->strKnobMode = kind(1);
    m->strJogWheelMode = kind(2);
    m->strBankSelectMidiCC = kind(3);
    m->bXYPadTap = (flags >> 4) & 1;
    m->bAssignToggled = (flags >> 5) & 1;
    m->bFdbPadsAlwaysActive = (flags >> 6) & 1;
    for (std::string* group :
         {&m->strFlashMidiCC, &m->strToggleMidiCC, &m->strCN1MidiCC, &m->strCN2MidiCC,
          &m->strCN3MidiCC, &m->strTRKMidiCC, &m->strFDBMidiCC})
        *group = kind(7);
    return *m;
}

void RequireStillRunning(const frmMain& m) {
    if (m.Ending()) {
        std::fprintf(stderr, "an input ended the program\n");
        std::abort();
    }
}
