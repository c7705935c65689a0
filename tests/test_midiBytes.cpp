#include "host/MidiBytes.h"
#include "host/MidiHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;
}

TEST(SysExBytes, ReadsPairsInEitherCaseSeparatedByRunsOfBlanks) {
    const struct {
        const char* text;
        Bytes bytes;
    } cases[] = {
        {"F0 42 F7", {0xF0, 0x42, 0xF7}},
        {"f0 42 40 6e 08 00 00 01 F7", {0xF0, 0x42, 0x40, 0x6E, 0x08, 0x00, 0x00, 0x01, 0xF7}},
        {"f0  42   7f\t00 f7", {0xF0, 0x42, 0x7F, 0x00, 0xF7}},
        {"  F0 0a F7  ", {0xF0, 0x0A, 0xF7}},
        {"F0 F7", {0xF0, 0xF7}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SysExBytes(c.text, 4096), c.bytes) << '"' << c.text << '"';
}

TEST(SysExBytes, RefusesTextThatIsNotOneSysExMessage) {
    const char* bad[] = {
        "",
        "   ",
        "F0",
        "F0 42",
        "42 F7",
        "F0 4 F7",
        "F0 123 F7",
        "F0 GG F7",
        "F0 4g F7",
        "F0 80 F7",
        "F0 42 F7 F7",
        "F0 42 F7 00",
        "F0 F7 F0 F7",
        "F0,42,F7",
        "&HF0 42 F7",
        "F0 -1 F7",
        "F0 42 F7\x01x",
    };
    for (const char* text : bad)
        EXPECT_THROW(SysExBytes(text, 4096), HostError) << '"' << text << '"';
}

TEST(SysExBytes, RefusesMessagesLongerThanTheBound) {
    EXPECT_NO_THROW(SysExBytes("F0 01 02 F7", 4));
    EXPECT_THROW(SysExBytes("F0 01 02 03 F7", 4), HostError);
}

TEST(SysExText, UpperCasePairsWithSingleBlanks) {
    const Bytes bytes{0xF0, 0x0A, 0x7F, 0x6e, 0xF7};
    EXPECT_EQ(SysExText(bytes.data(), bytes.size()), "F0 0A 7F 6E F7");
    EXPECT_EQ(SysExText(bytes.data(), 0), "");
}

TEST(ShortMessageBytes, SendsOnlyValidMidi) {
    const struct {
        int32_t status, data1, data2;
        Bytes bytes; // empty: refused
    } cases[] = {
        {0x90, 60, 100, {0x90, 60, 100}},
        {0x9F, 0, 0, {0x9F, 0, 0}},
        {0xB0, 87, 127, {0xB0, 87, 127}},
        {0x80, 1, 2, {0x80, 1, 2}},
        {0xE0, 0, 64, {0xE0, 0, 64}},
        {0xC3, 5, 200, {0xC3, 5}}, // a program change carries no second data byte
        {0xD0, 9, -7, {0xD0, 9}},
        {0xF2, 1, 2, {0xF2, 1, 2}},
        {0xF3, 4, 0, {0xF3, 4}},
        {0xF6, 300, 300, {0xF6}},
        {0xF8, 0, 0, {0xF8}},
        {0xFF, 0, 0, {0xFF}},
        {0x7F, 60, 100, {}},
        {0, 0, 0, {}},
        {-1, 0, 0, {}},
        {0x100, 60, 100, {}},
        {0x190, 60, 100, {}},
        {0x90, 128, 100, {}},
        {0x90, 60, 128, {}},
        {0x90, -1, 100, {}},
        {0xB0, 60, -1, {}},
        {0xC0, 128, 0, {}},
        {0xF0, 0, 0, {}},
        {0xF7, 0, 0, {}},
        {0xF4, 0, 0, {}},
        {0xF5, 0, 0, {}},
        {0xF9, 0, 0, {}},
        {0xFD, 0, 0, {}},
    };
    for (const auto& c : cases) {
        uint8_t out[3];
        const size_t size = ShortMessageBytes(c.status, c.data1, c.data2, out);
        EXPECT_EQ(Bytes(out, out + size), c.bytes) << c.status << ' ' << c.data1 << ' ' << c.data2;
    }
}
