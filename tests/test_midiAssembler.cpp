#include "host/MidiAssembler.h"
#include "host/MidiBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

// What the assembler made of a byte stream: "C:90 3C 64" for channel messages, "S:F0 .. F7" for
// SysEx, "O" for a dropped oversize SysEx.
std::vector<std::string> assemble(MidiAssembler& assembler, const Bytes& stream) {
    std::vector<std::string> out;
    for (uint8_t byte : stream) {
        switch (assembler.feed(byte)) {
        case MidiAssembler::Result::None:
            break;
        case MidiAssembler::Result::Channel:
            out.push_back("C:" + SysExText(assembler.message(), assembler.size()));
            break;
        case MidiAssembler::Result::SysEx:
            out.push_back("S:" + SysExText(assembler.message(), assembler.size()));
            break;
        case MidiAssembler::Result::Oversize:
            out.push_back("O");
            break;
        }
    }
    return out;
}

std::vector<std::string> assemble(const Bytes& stream) {
    MidiAssembler assembler;
    return assemble(assembler, stream);
}
} // namespace

TEST(MidiAssembler, MakesWholeMessagesFromAByteStream) {
    const struct {
        const char* what;
        Bytes stream;
        std::vector<std::string> expected;
    } cases[] = {
        {"note on", {0x90, 0x3C, 0x64}, {"C:90 3C 64"}},
        {"program change has one data byte", {0xC5, 0x05}, {"C:C5 05"}},
        {"channel pressure has one data byte", {0xD0, 0x40}, {"C:D0 40"}},
        {"pitch bend", {0xE1, 0x00, 0x40}, {"C:E1 00 40"}},
        {"running status", {0x90, 0x3C, 0x64, 0x3E, 0x00}, {"C:90 3C 64", "C:90 3E 00"}},
        {"realtime inside a channel message", {0x90, 0xF8, 0x3C, 0xFE, 0x64}, {"C:90 3C 64"}},
        {"realtime alone", {0xF8, 0xFA, 0xFC, 0xFF}, {}},
        {"native report",
         {0xF0, 0x42, 0x40, 0x6E, 0x08, 0x45, 0x43, 0x64, 0xF7},
         {"S:F0 42 40 6E 08 45 43 64 F7"}},
        {"realtime inside SysEx", {0xF0, 0x42, 0xF8, 0x40, 0xFE, 0xF7}, {"S:F0 42 40 F7"}},
        {"empty SysEx", {0xF0, 0xF7}, {"S:F0 F7"}},
        {"SysEx cut short by a status byte", {0xF0, 0x42, 0x40, 0x90, 0x3C, 0x64}, {"C:90 3C 64"}},
        {"SysEx cut short by another SysEx", {0xF0, 0x42, 0xF0, 0x43, 0xF7}, {"S:F0 43 F7"}},
        {"incomplete channel message", {0x90, 0x3C, 0xB0, 0x07, 0x7F}, {"C:B0 07 7F"}},
        {"data bytes without a status", {0x3C, 0x64, 0x01}, {}},
        {"stray F7", {0xF7, 0x3C}, {}},
        {"system common is read past", {0xF2, 0x10, 0x20, 0xF1, 0x05, 0xF3, 0x01, 0xF6}, {}},
        {"system common ends running status", {0x90, 0x3C, 0x64, 0xF6, 0x3E, 0x00}, {"C:90 3C 64"}},
        {"SysEx ends running status",
         {0x90, 0x3C, 0x64, 0xF0, 0x01, 0xF7, 0x3E, 0x00},
         {"C:90 3C 64", "S:F0 01 F7"}},
        {"undefined status", {0xF4, 0x10, 0xF5, 0x20}, {}},
        {"channel message after SysEx",
         {0xF0, 0x01, 0xF7, 0xB0, 0x07, 0x7F},
         {"S:F0 01 F7", "C:B0 07 7F"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(assemble(c.stream), c.expected) << c.what;
}

TEST(MidiAssembler, JoinsMessagesSplitOverSeveralEvents) {
    MidiAssembler assembler;
    EXPECT_TRUE(assemble(assembler, {0xF0, 0x42, 0x40}).empty());
    EXPECT_TRUE(assemble(assembler, {0x6E, 0x08, 0xF8}).empty());
    EXPECT_EQ(assemble(assembler, {0x48, 0x10, 0x7F, 0xF7, 0x90}),
              std::vector<std::string>{"S:F0 42 40 6E 08 48 10 7F F7"});
    EXPECT_EQ(assemble(assembler, {0x3C, 0x64}), std::vector<std::string>{"C:90 3C 64"});
}

TEST(MidiAssembler, KeepsSysExUpToTheBoundAndDropsLongerOnes) {
    Bytes longest{0xF0};
    longest.resize(MidiAssembler::kMaxSysEx - 1, 0x11);
    longest.push_back(0xF7);
    MidiAssembler assembler;
    const auto kept = assemble(assembler, longest);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(assembler.size(), MidiAssembler::kMaxSysEx);

    Bytes tooLong = longest;
    tooLong.insert(tooLong.begin() + 1, 0x22);
    EXPECT_EQ(assemble(assembler, tooLong), std::vector<std::string>{"O"});
    // The next message is whole again.
    EXPECT_EQ(assemble(assembler, {0xF0, 0x01, 0xF7}), std::vector<std::string>{"S:F0 01 F7"});
}

TEST(MidiAssembler, ResetForgetsWhatWasHalfRead) {
    MidiAssembler assembler;
    assemble(assembler, {0x90, 0x3C});
    assembler.reset();
    EXPECT_TRUE(assemble(assembler, {0x64, 0x3E, 0x00}).empty());
    assemble(assembler, {0xF0, 0x42});
    assembler.reset();
    EXPECT_TRUE(assemble(assembler, {0x40, 0xF7}).empty());
}
