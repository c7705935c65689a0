#include "host/MidiAssembler.h"
#include "host/MidiBytes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {
// What the assembler made of a byte stream written as hex pairs: "C:90 3C 64" for a channel
// message, "S:F0 .. F7" for a SysEx, "O" for a dropped oversize SysEx; comma-separated.
std::string Assemble(MidiAssembler& assembler, const std::string& stream) {
    std::istringstream in(stream);
    std::string out, pair;
    using R = MidiAssembler::Result;
    while (in >> pair) {
        const R result = assembler.feed(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
        if (result != R::None)
            out += (out.empty() ? "" : ", ") +
                   (result == R::Oversize ? "O"
                                          : (result == R::Channel ? "C:" : "S:") +
                                                SysExText(assembler.message(), assembler.size()));
    }
    return out;
}
} // namespace

TEST(MidiAssembler, MakesWholeMessagesFromAByteStream) {
    const struct {
        const char* what;
        const char* stream;
        const char* messages;
    } cases[] = {
        {"note on", "90 3C 64", "C:90 3C 64"},
        {"program change has one data byte", "C5 05", "C:C5 05"},
        {"channel pressure has one data byte", "D0 40", "C:D0 40"},
        {"pitch bend", "E1 00 40", "C:E1 00 40"},
        {"running status", "90 3C 64 3E 00", "C:90 3C 64, C:90 3E 00"},
        {"realtime inside a channel message", "90 F8 3C FE 64", "C:90 3C 64"},
        {"realtime alone", "F8 FA FC FF", ""},
        {"native report", "F0 42 40 6E 08 45 43 64 F7", "S:F0 42 40 6E 08 45 43 64 F7"},
        {"realtime inside SysEx", "F0 42 F8 40 FE F7", "S:F0 42 40 F7"},
        {"empty SysEx", "F0 F7", "S:F0 F7"},
        {"SysEx cut short by a status byte", "F0 42 40 90 3C 64", "C:90 3C 64"},
        {"SysEx cut short by another SysEx", "F0 42 F0 43 F7", "S:F0 43 F7"},
        {"incomplete channel message", "90 3C B0 07 7F", "C:B0 07 7F"},
        {"data bytes without a status", "3C 64 01", ""},
        {"stray F7", "F7 3C", ""},
        {"system common is read past", "F2 10 20 F1 05 F3 01 F6", ""},
        {"system common ends running status", "90 3C 64 F6 3E 00", "C:90 3C 64"},
        {"SysEx ends running status", "90 3C 64 F0 01 F7 3E 00", "C:90 3C 64, S:F0 01 F7"},
        {"undefined status", "F4 10 F5 20", ""},
        {"channel message after SysEx", "F0 01 F7 B0 07 7F", "S:F0 01 F7, C:B0 07 7F"},
    };
    for (const auto& c : cases) {
        MidiAssembler assembler;
        EXPECT_EQ(Assemble(assembler, c.stream), c.messages) << c.what;
    }
}

TEST(MidiAssembler, JoinsMessagesSplitOverSeveralEventsAndForgetsThemOnReset) {
    MidiAssembler assembler;
    EXPECT_EQ(Assemble(assembler, "F0 42 40"), "");
    EXPECT_EQ(Assemble(assembler, "6E 08 F8"), "");
    EXPECT_EQ(Assemble(assembler, "48 10 7F F7 90"), "S:F0 42 40 6E 08 48 10 7F F7");
    EXPECT_EQ(Assemble(assembler, "3C 64"), "C:90 3C 64");

    Assemble(assembler, "90 3C");
    assembler.reset();
    EXPECT_EQ(Assemble(assembler, "64 3E 00"), "");
    Assemble(assembler, "F0 42");
    assembler.reset();
    EXPECT_EQ(Assemble(assembler, "40 F7"), "");
}

TEST(MidiAssembler, KeepsSysExUpToTheBoundAndDropsLongerOnes) {
    std::string longest = "F0";
    for (size_t i = 2; i < MidiAssembler::kMaxSysEx; ++i)
        longest += " 11";
    longest += " F7";
    MidiAssembler assembler;
    EXPECT_EQ(Assemble(assembler, longest), "S:" + longest);
    EXPECT_EQ(assembler.size(), MidiAssembler::kMaxSysEx);
    EXPECT_EQ(Assemble(assembler, "F0 22" + longest.substr(2)), "O");
    EXPECT_EQ(Assemble(assembler, "F0 01 F7"), "S:F0 01 F7"); // the next one is whole again
}
