#include "Kit.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(Knobs, ReportSequences) {
    const struct {
        const char* knobByte; // "00" knob 1, anything else knob 2
        const char* mode;
        int16_t channel;
        const char* values;
        const char* wire;
    } cases[] = {
        {"00", "CC", 0, "10 20 20 15", "B0 13 10, B0 13 20, B0 13 15"},
        {"01", "MIDI", 0, "40 7F 7F 00",
         "90 21 7F, 90 21 00, 90 22 7F, 90 22 00, 90 22 7F, 90 22 00, 90 20 7F, 90 20 00"},
        {"00", "MIDI", 0, "30 10 7F 7E 00 00",
         "90 15 7F, 90 15 00, 90 13 7F, 90 13 00, 90 16 7F, 90 16 00, 90 13 7F, 90 13 00,"
         "90 14 7F, 90 14 00, 90 14 7F, 90 14 00"},
        {"7F", "cc", 9, "7F 7F 00 00 01 01", "B9 1F 7F, B9 1F 7F, B9 1F 00, B9 1F 00, B9 1F 01"},
        // The first report after start-up: 00 is the bottom, 7F the top.
        {"00", "CC", 0, "00", "B0 13 00"},
        {"01", "MIDI", 0, "00", "90 20 7F, 90 20 00"},
        {"00", "MIDI", 0, "7F", "90 16 7F, 90 16 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values);
        Started h;
        ControllerEngine& m = h.main();
        m.strKnobMode = c.mode;
        m.intMidiChannel = c.channel;
        std::istringstream values(c.values);
        std::string value;
        while (values >> value)
            h.report(std::string("49 ") + c.knobByte + " " + value);
        EXPECT_EQ(h.wire(), W(c.wire));
        const int knob = std::string(c.knobByte) == "00" ? 0 : 1;
        EXPECT_EQ(m.intKnobValue[knob], std::stoi(value, nullptr, 16));
        EXPECT_EQ(m.intKnobValue[1 - knob], 0);
    }
}

// The position is stored after the output: a report handled inside the pulse compares with the
// position before the one in progress, and the outer one is stored last.
TEST(Knobs, NestedReportComparesWithThePreviousPosition) {
    Started h;
    h.main().strKnobMode = "MIDI";
    ReportDuringNextWait(h, "49 00 50");
    h.report("49 00 40");
    EXPECT_EQ(h.wire(), W("90 15 7F, 90 15 7F, 90 15 00, 90 15 00"));
    EXPECT_EQ(h.main().intKnobValue[0], 0x40);
}

TEST(Knobs, ReportsWithoutAPositionAreDropped) {
    Started h;
    ControllerEngine& m = h.main();
    m.strKnobMode = "CC";
    m.intKnobValue = {0x30, 0x30};
    h.run(m.ZivUvozaro_CheckKnobTwist("49 00 G1", 1));
    h.run(m.ZivUvozaro_CheckKnobTwist("49 00", 1));
    h.run(m.ZivUvozaro_CheckKnobTwist("", 2));
    h.run(m.ZivUvozaro_CheckKnobTwist("49 00 10", 3));
    h.run(m.ZivUvozaro_CheckKnobTwist("49 00 10", 0));
    EXPECT_TRUE(h.wire().empty());
    EXPECT_EQ(m.intKnobValue, (std::array<int32_t, 2>{0x30, 0x30}));
}
