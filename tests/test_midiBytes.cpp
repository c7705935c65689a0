#include "host/MidiBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SysExText, UpperCasePairsWithSingleBlanks) {
    const std::vector<uint8_t> bytes{0xF0, 0x0A, 0x7F, 0x6e, 0xF7};
    EXPECT_EQ(SysExText(bytes.data(), bytes.size()), "F0 0A 7F 6E F7");
    EXPECT_EQ(SysExText(bytes.data(), 0), "");
}

TEST(SysExBytes, ReadsOneMessageOfPairsInEitherCaseSeparatedByRunsOfBlanks) {
    const struct {
        const char* text;
        const char* bytes;
    } cases[] = {{"F0 42 F7", "F0 42 F7"},
                 {"f0 42 40 6e 08 00 00 01 F7", "F0 42 40 6E 08 00 00 01 F7"},
                 {"f0  42   7f\t00 f7", "F0 42 7F 00 F7"},
                 {"  F0 0a F7  ", "F0 0A F7"},
                 {"F0 F7", "F0 F7"}};
    uint8_t bytes[4096];
    for (const auto& c : cases) {
        const size_t size = SysExBytes(c.text, bytes, sizeof bytes);
        EXPECT_EQ(SysExText(bytes, size), c.bytes) << '"' << c.text << '"';
    }
    for (const char* bad : {"", "   ", "F0", "F0 42", "42 F7", "F0 4 F7", "F0 123 F7", "F0 GG F7",
                            "F0 4g F7", "F0 80 F7", "F0 42 F7 F7", "F0 42 F7 00", "F0 F7 F0 F7",
                            "F0,42,F7", "&HF0 42 F7", "F0 -1 F7", "F0 42 F7\x01x"})
        EXPECT_EQ(SysExBytes(bad, bytes, sizeof bytes), 0u) << '"' << bad << '"';
    EXPECT_EQ(SysExBytes("F0 01 02 F7", bytes, 4), 4u); // the bound
    EXPECT_EQ(SysExBytes("F0 01 02 03 F7", bytes, 4), 0u);
}

TEST(ShortMessageBytes, SendsOnlyValidMidi) {
    const struct {
        int32_t status, data1, data2;
        const char* bytes; // a program change carries no second data byte
    } cases[] = {
        {0x90, 60, 100, "90 3C 64"}, {0x9F, 0, 0, "9F 00 00"},  {0xB0, 87, 127, "B0 57 7F"},
        {0x80, 1, 2, "80 01 02"},    {0xE0, 0, 64, "E0 00 40"}, {0xC3, 5, 200, "C3 05"},
        {0xD0, 9, -7, "D0 09"},      {0xF2, 1, 2, "F2 01 02"},  {0xF3, 4, 0, "F3 04"},
        {0xF6, 300, 300, "F6"},      {0xF8, 0, 0, "F8"},        {0xFF, 0, 0, "FF"}};
    uint8_t out[3];
    for (const auto& c : cases)
        EXPECT_EQ(SysExText(out, ShortMessageBytes(c.status, c.data1, c.data2, out)), c.bytes);
    const int32_t refused[][3] = {
        {0x7F, 60, 100},  {0, 0, 0},        {-1, 0, 0},      {0x100, 60, 100},
        {0x190, 60, 100}, {0x90, 128, 100}, {0x90, 60, 128}, {0x90, -1, 100},
        {0xB0, 60, -1},   {0xC0, 128, 0},   {0xF0, 0, 0},    {0xF7, 0, 0},
        {0xF4, 0, 0},     {0xF5, 0, 0},     {0xF9, 0, 0},    {0xFD, 0, 0}};
    for (const auto& r : refused)
        EXPECT_EQ(ShortMessageBytes(r[0], r[1], r[2], out), 0u)
            << r[0] << ' ' << r[1] << ' ' << r[2];
}
