#include "FreshStore.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "settings/RegistryFile.h"
#include "settings/mSettings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {
using namespace std::string_literals;
const std::string kKey = "Software\\ZivUvozaro";

// Value names of the settings key in the order the file lists them.
std::vector<std::string> storedNames() {
    const RegDocument document = ReadRegistryFile();
    const RegKey* key = document.findKey("HKEY_CURRENT_USER\\" + kKey);
    std::vector<std::string> names;
    if (key)
        for (const RegValue& value : key->values)
            names.push_back(value.name);
    return names;
}
} // namespace

TEST(RegistryStore, FirstWriteCreatesTheKey) {
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
}

TEST(RegistryStore, EmptyReadsLikeAbsent) {
    FreshStore store;
    WriteSetting("AutoRecall", "1");
    WriteSetting("AutoRecall", "");
    EXPECT_EQ(ReadSetting("AutoRecall"), "");
    EXPECT_EQ(ReadSetting("NeverWritten"), "");
    EXPECT_EQ(storedNames(), std::vector<std::string>{"AutoRecall"});
}

TEST(RegistryStore, NamesMatchInAnyCase) {
    FreshStore store;
    WriteSetting("JogWheelRight", "41");
    EXPECT_EQ(ReadSetting("JogWheelright"), "41");
    WriteSetting("JOGWHEELRIGHT", "50");
    EXPECT_EQ(ReadSetting("jogwheelright"), "50");
    EXPECT_EQ(storedNames(), std::vector<std::string>{"JogWheelRight"});
    EXPECT_EQ(QueryValue(1, "SOFTWARE\\zivuvozaro", "JogWheelRight"), "50");
}

TEST(RegistryStore, TextsRoundTripUnchanged) {
    FreshStore store;
    const std::string texts[] = {"say \"hi\"", "C:\\path\\", "Grüße ✓ 🎹", " 7 ", "\"\\\""};
    for (const std::string& text : texts) {
        WriteSetting(text, text);
        EXPECT_EQ(ReadSetting(text), text);
    }
    EXPECT_EQ(storedNames(), std::vector<std::string>(std::begin(texts), std::end(texts)));
}

struct TypedValue {
    int32_t type;
    std::string data;
    std::string reads;
};

class RegistryQueryValue : public ::testing::TestWithParam<TypedValue> {};

TEST_P(RegistryQueryValue, RendersTheTypeAsText) {
    FreshStore store;
    CreateKeyPath(1, kKey);
    const TypedValue& value = GetParam();
    SetKeyValue(1, kKey, "Value", value.type, value.data, static_cast<int32_t>(value.data.size()));
    EXPECT_EQ(QueryValue(1, kKey, "Value"), value.reads);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RegistryQueryValue,
    ::testing::Values(TypedValue{1, "text", "text"}, TypedValue{1, "cut\0here"s, "cut"},
                      TypedValue{2, "%HOME%\\x", "%HOME%\\x"}, TypedValue{7, "a\0b\0\0"s, "a"},
                      TypedValue{4, "\xFF\xFF\xFF\xFF", "-1"}, TypedValue{4, "\0\0\0\0"s, "0"},
                      TypedValue{4, "\x2A\x01\0\0"s, "298"},
                      TypedValue{4, "\0\0\0\0\0"s, ""}, // too long for a DWORD
                      TypedValue{3, "\x0A\x00\x2A"s, "0A 00 2A "},
                      TypedValue{3, "\x01\x2A\xFF", "01 2A FF "}, TypedValue{3, "", ""},
                      TypedValue{11, "\1\0\0\0\0\0\0\0"s, ""}, TypedValue{0, "x", ""},
                      TypedValue{5, "\0\0\0\1"s, ""}));

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
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"GlobalChannel", "Level", "AutoRecall"}));
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

struct TokenCase {
    std::string source, delimiter, token, rest;
};

class RegistryNextToken : public ::testing::TestWithParam<TokenCase> {};

TEST_P(RegistryNextToken, CutsBeforeTheDelimiter) {
    std::string source = GetParam().source;
    EXPECT_EQ(NextToken(source, GetParam().delimiter), GetParam().token);
    EXPECT_EQ(source, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RegistryNextToken,
    ::testing::Values(TokenCase{"Software\\ZivUvozaro", "\\", "Software", "ZivUvozaro"},
                      TokenCase{"ZivUvozaro", "\\", "ZivUvozaro", ""}, TokenCase{"", "\\", "", ""},
                      TokenCase{"\\a", "\\", "", "a"}, TokenCase{"a\\", "\\", "a", ""},
                      TokenCase{"aXb", "x", "aXb", ""}, TokenCase{"a::b::c", "::", "a", "b::c"},
                      TokenCase{"a\0b"s, "\0"s, "a", "b"}));
