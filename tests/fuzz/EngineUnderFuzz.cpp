#include "EngineUnderFuzz.h"

#include "support/NullOut.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}
} // namespace

ControllerEngine& EngineUnderFuzz(const uint8_t* data, size_t size) {
    ControllerEngine& m = DiscardingEngineInNativeMode();
    static const ControllerState initial = m;

    static_cast<ControllerState&>(m) = initial;
    const uint8_t flags = size > 0 ? data[0] : 0;
    auto kind = [&](int bit) { return (flags >> bit) & 1 ? "CC" : "MIDI"; };
    m.bFixedVelocity = flags & 1;
    m.strKnobMode = kind(1);
    m.strJogWheelMode = kind(2);
    m.strBankSelectMidiCC = kind(3);
    m.bXYPadTap = (flags >> 4) & 1;
    m.bAssignToggled = (flags >> 5) & 1;
    m.bFdbPadsAlwaysActive = (flags >> 6) & 1;
    for (SettingText* group : {&m.strFlashMidiCC, &m.strToggleMidiCC, &m.strCN1MidiCC,
                               &m.strCN2MidiCC, &m.strCN3MidiCC, &m.strTRKMidiCC, &m.strFDBMidiCC})
        *group = kind(7);
    return m;
}

void SettleAndCheck(ControllerEngine& m) {
    m.AdvanceTo(m.Now() + 10 * 48000);
    if (m.WaitDepth() != 0 || m.HeldInputCount() != 0)
        fail("a wait never ended");
    if (m.intCurrentBank < 0 || m.intCurrentBank > 2)
        fail("the bank left 0..2");
    if (m.strLedSysEx.size() != 53)
        fail("the LED packet lost its shape");
    int banksLit = 0;
    for (int index : {4, 5, 6})
        banksLit += m.bButtonLed[index];
    if (banksLit != 1)
        fail("not exactly one bank button lit");
}
