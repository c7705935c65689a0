#include "ControlsSupport.h"

#include <gtest/gtest.h>

namespace {
struct KnobCase {
    const char* name;
    const char* knobByte; // "00" knob 1, anything else knob 2
    const char* mode;
    std::vector<const char*> values;
    WireTexts expected;
};

const KnobCase kCases[] = {
    {"knob 1 CC", "00", "CC", {"10", "20", "20", "15"}, {"B0 13 10", "B0 13 20", "B0 13 15"}},
    {"knob 2 MIDI",
     "01",
     "MIDI",
     {"40", "7F", "7F", "00"},
     {"90 21 7F", "90 21 00", "90 22 7F", "90 22 00", "90 22 7F", "90 22 00", "90 20 7F",
      "90 20 00"}},
    {"knob 1 MIDI all four",
     "00",
     "MIDI",
     {"30", "10", "7F", "7E", "00", "00"},
     {"90 15 7F", "90 15 00", "90 13 7F", "90 13 00", "90 16 7F", "90 16 00", "90 13 7F",
      "90 13 00", "90 14 7F", "90 14 00", "90 14 7F", "90 14 00"}},
    {"knob 2 CC ends repeat",
     "7F",
     "cc",
     {"7F", "7F", "00", "00", "01", "01"},
     {"B0 1F 7F", "B0 1F 7F", "B0 1F 00", "B0 1F 00", "B0 1F 01"}},
    {"knob 1 first report 00 is bottom, CC", "00", "CC", {"00"}, {"B0 13 00"}},
    {"knob 2 first report 00 is bottom, MIDI", "01", "MIDI", {"00"}, {"90 20 7F", "90 20 00"}},
    {"knob 1 first report 7F is top, MIDI", "00", "MIDI", {"7F"}, {"90 16 7F", "90 16 00"}},
};

TEST(Knobs, ReportSequences) {
    for (const KnobCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.load();
        h.main().strKnobMode = c.mode;
        for (const char* value : c.values)
            h.report(std::string("49 ") + c.knobByte + " " + value);
        EXPECT_EQ(h.wire(), c.expected);
        const int knob = std::string(c.knobByte) == "00" ? 0 : 1;
        EXPECT_EQ(h.main().intKnobValue[knob], std::stoi(c.values.back(), nullptr, 16));
        EXPECT_EQ(h.main().intKnobValue[1 - knob], 0);
    }
}

TEST(Knobs, StoreThePositionAlsoWhenNothingIsSent) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strKnobMode = "CC";
    m.intKnobValue[0] = 0x20;
    h.report("49 00 20");
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.intKnobValue[0], 0x20);
}

TEST(Knobs, UseTheGlobalChannel) {
    Harness h;
    h.load();
    h.main().intMidiChannel = 9;
    h.main().strKnobMode = "CC";
    h.report("49 00 05");
    EXPECT_EQ(h.wire(), WireTexts{"B9 13 05"});
}

// The position is stored after the output: a report handled inside the pulse compares with the
// position before the one in progress, and the outer one is stored last.
TEST(Knobs, NestedReportComparesWithThePreviousPosition) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strKnobMode = "MIDI";
    ReportDuringNextWait(h, "49 00 50");
    h.report("49 00 40");
    EXPECT_EQ(h.wire(), (WireTexts{"90 15 7F", "90 15 7F", "90 15 00", "90 15 00"}));
    EXPECT_EQ(m.intKnobValue[0], 0x40);
}

TEST(Knobs, ReportsWithoutAPositionAreDropped) {
    Harness h;
    h.load();
    frmMain& m = h.main();
    m.strKnobMode = "CC";
    m.intKnobValue = {0x30, 0x30};
    m.ZivUvozaro_CheckKnobTwist("49 00 G1", 1);
    m.ZivUvozaro_CheckKnobTwist("49 00", 1);
    m.ZivUvozaro_CheckKnobTwist("", 2);
    m.ZivUvozaro_CheckKnobTwist("49 00 10", 3);
    m.ZivUvozaro_CheckKnobTwist("49 00 10", 0);
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.intKnobValue, (std::array<int32_t, 2>{0x30, 0x30}));
}
} // namespace
