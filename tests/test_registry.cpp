#include "FreshStore.h"
#include "settings/Registry.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {
using namespace std::string_literals;
const std::string kKey = "Software\\ZivUvozaro";
} // namespace

// The first write creates the key; empty reads like absent; names match in any case and keep
// the case of their first writing; texts come back unchanged.
TEST(RegistryStore, SettingsWriteAndReadBack) {
    FreshStore store;
    EXPECT_EQ(ReadSetting("GlobalChannel"), "");
    EXPECT_FALSE(std::filesystem::exists(store.file()));
    WriteSetting("GlobalChannel", "16");
    EXPECT_EQ(ReadSetting("GlobalChannel"), "16");
    EXPECT_EQ(store.contents(), "Windows Registry Editor Version 5.00\r\n"
                                "\r\n"
                                "[HKEY_CURRENT_USER\\Software]\r\n"
                                "\r\n"
                                "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                                "\"GlobalChannel\"=\"16\"\r\n"
                                "\r\n");
    WriteSetting("AutoRecall", "1");
    WriteSetting("AutoRecall", "");
    EXPECT_EQ(ReadSetting("AutoRecall"), "");
    EXPECT_EQ(ReadSetting("NeverWritten"), "");
    WriteSetting("JogWheelRight", "41");
    EXPECT_EQ(ReadSetting("JogWheelright"), "41");
    WriteSetting("JOGWHEELRIGHT", "50");
    EXPECT_EQ(ReadSetting("jogwheelright"), "50");
    EXPECT_EQ(QueryValue(1, "SOFTWARE\\zivuvozaro", "JogWheelRight"), "50");
    std::string names = "GlobalChannel, AutoRecall, JogWheelRight";
    for (const std::string text : {"say \"hi\"", "C:\\path\\", "Grüße ✓ 🎹", " 7 ", "\"\\\""}) {
        WriteSetting(text, text);
        EXPECT_EQ(ReadSetting(text), text);
        names += ", " + text;
    }
    EXPECT_EQ(store.names(), names);
}

TEST(RegistryStore, QueryValueRendersEachTypeAsText) {
    const struct {
        int32_t type;
        std::string data, reads; // a DWORD of five bytes is too long
    } cases[] = {{1, "text", "text"},
                 {1, "cut\0here"s, "cut"},
                 {2, "%HOME%\\x", "%HOME%\\x"},
                 {7, "a\0b\0\0"s, "a"},
                 {4, "\xFF\xFF\xFF\xFF", "-1"},
                 {4, "\0\0\0\0"s, "0"},
                 {4, "\x2A\x01\0\0"s, "298"},
                 {4, "\0\0\0\0\0"s, ""},
                 {3, "\x0A\x00\x2A"s, "0A 00 2A "},
                 {3, "\x01\x2A\xFF", "01 2A FF "},
                 {3, "", ""},
                 {11, "\1\0\0\0\0\0\0\0"s, ""},
                 {0, "x", ""},
                 {5, "\0\0\0\1"s, ""}};
    FreshStore store;
    CreateKeyPath(1, kKey);
    for (const auto& c : cases) {
        SetKeyValue(1, kKey, "Value", c.type, c.data, static_cast<int32_t>(c.data.size()));
        EXPECT_EQ(QueryValue(1, kKey, "Value"), c.reads) << c.type << ": " << c.reads;
    }
}

TEST(RegistryStore, WritesOnlyIntoKeysThatExist) {
    FreshStore store;
    SetKeyValue(1, "Software\\Missing", "Value", 1, "x", 1);
    CreateSubKey(1, "Software\\Missing", "Child");
    EXPECT_FALSE(std::filesystem::exists(store.file()));
    EXPECT_EQ(QueryValue(1, "Software\\Missing", "Value"), "");

    CreateKeyPath(2, "A\\B\\C");
    SetKeyValue(2, "A\\B\\C", "Value", 1, "abc", 2);
    EXPECT_EQ(QueryValue(2, "a\\b\\c", "Value"), "ab");
    EXPECT_EQ(QueryValue(1, "A\\B\\C", "Value"), ""); // another root
    SetKeyValue(2, "A\\B\\C", "Long", 1, "abc", 99);
    EXPECT_EQ(QueryValue(2, "A\\B\\C", "Long"), "abc");
    EXPECT_EQ(QueryValue(-1, "A\\B\\C", "Value"), "");
    EXPECT_EQ(QueryValue(4, "A\\B\\C", "Value"), "");
}

TEST(RegistryStore, ReadsAFileWrittenByHand) {
    FreshStore store;
    store.write("Windows Registry Editor Version 5.00\n\n"
                "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                "\"GlobalChannel\"=\"9\"\n"
                "\"Level\"=dword:00000010\n");
    EXPECT_EQ(ReadSetting("globalchannel"), "9");
    EXPECT_EQ(ReadSetting("Level"), "16");
    WriteSetting("AutoRecall", "1");
    EXPECT_EQ(store.names(), "GlobalChannel, Level, AutoRecall");
}

// Values Orvan does not own come back byte for byte when it saves its own.
TEST(RegistryStore, OtherValuesSurviveASaveByteForByte) {
    const std::string lines[] = {"\"LoneHigh\"=hex(1):00,d8,41,00,00,00",
                                 "\"OddLength\"=hex(1):41,00,42",
                                 "\"LoneLow\"=hex(2):00,dc,00,00",
                                 "\"Nuls\"=hex(7):41,00,00,00,42,00,00,00,00,00",
                                 "\"Text\"=\"Grüße \\\"x\\\"\"",
                                 "\"Number\"=dword:0000002a",
                                 "\"Bytes\"=hex:00,ff",
                                 "\"Odd type\"=hex(12345678):01"};
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    FreshStore store;
    store.write(text);
    WriteSetting("GlobalChannel", "5");
    for (const std::string& line : lines)
        EXPECT_NE(store.contents().find(line + "\r\n"), std::string::npos) << line;
}

TEST(RegistryStore, KeepsACorruptFileAsideBeforeReplacingIt) {
    FreshStore store;
    const std::string corrupt = "Windows Registry Editor Version 5.00\n"
                                "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                                "\"GlobalChannel\"=\"9";
    store.write(corrupt);
    EXPECT_EQ(ReadSetting("GlobalChannel"), "");
    EXPECT_EQ(store.count("registry.reg.bad-"), 0);

    WriteSetting("AutoRecall", "1");
    ASSERT_EQ(store.count("registry.reg.bad-"), 1);
    for (const auto& entry : std::filesystem::directory_iterator(store.folder())) {
        if (entry.path().filename().string().starts_with("registry.reg.bad-")) {
            std::ifstream in(entry.path(), std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), corrupt);
        }
    }
    EXPECT_EQ(ReadSetting("AutoRecall"), "1");
    EXPECT_EQ(ReadSetting("GlobalChannel"), "");
    EXPECT_TRUE(ParseRegText(store.contents()));
}

TEST(RegistryStore, AFailingWriteLeavesTheOldFileWhole) {
    FreshStore store;
    WriteSetting("GlobalChannel", "3");
    const std::string before = store.contents();

    // A file size limit makes writing the new file fail part way.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 100;
    setrlimit(RLIMIT_FSIZE, &small);
    WriteSetting("Big", std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(store.contents(), before);
    EXPECT_EQ(ReadSetting("Big"), "");
    EXPECT_EQ(store.count("registry.reg.tmp-"), 0);
}

TEST(RegistryStore, ClearsTemporaryFilesOfDeadWriters) {
    FreshStore store;
    WriteSetting("A", "1");
    std::ofstream(store.folder() + "/registry.reg.tmp-dead01") << "half a fi";
    WriteSetting("B", "2");
    EXPECT_EQ(store.count("registry.reg.tmp-"), 0);
    EXPECT_EQ(ReadSetting("A"), "1");
}

TEST(RegistryStore, FollowsTheConfigHomeAtEveryCall) {
    FreshStore first;
    WriteSetting("Where", "first");
    {
        FreshStore second;
        EXPECT_EQ(ReadSetting("Where"), "");
        WriteSetting("Where", "second");
        EXPECT_EQ(ReadSetting("Where"), "second");
    }
    EXPECT_EQ(ReadSetting("Where"), "first");
}

TEST(Registry, NextTokenCutsBeforeTheDelimiter) {
    const struct {
        std::string source, delimiter, token, rest;
    } cases[] = {{"Software\\ZivUvozaro", "\\", "Software", "ZivUvozaro"},
                 {"ZivUvozaro", "\\", "ZivUvozaro", ""},
                 {"", "\\", "", ""},
                 {"\\a", "\\", "", "a"},
                 {"a\\", "\\", "a", ""},
                 {"aXb", "x", "aXb", ""},
                 {"a::b::c", "::", "a", "b::c"},
                 {"a\0b"s, "\0"s, "a", "b"}};
    for (const auto& c : cases) {
        std::string source = c.source;
        EXPECT_EQ(NextToken(source, c.delimiter), c.token) << c.source;
        EXPECT_EQ(source, c.rest);
    }
}
