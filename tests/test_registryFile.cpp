#include "settings/RegFile.h"
#include "settings/Utf16Text.h"

#include <gtest/gtest.h>

namespace {
using namespace std::string_literals;

// Every key of a document, and under it every value as name|type|data, the data's bytes outside
// printable ASCII as \xNN; one line each.
std::string Dump(const RegDocument& document) {
    std::string dump;
    char hex[8];
    for (const RegKey& key : document.keys()) {
        dump += "[" + key.path() + "]\n";
        for (const RegValue& value : key.values()) {
            dump += value.name + "|" + std::to_string(value.type) + "|";
            for (unsigned char c : value.data) {
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                dump += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, char(c)) : hex;
            }
            dump += "\n";
        }
    }
    return dump;
}
} // namespace

TEST(RegistryFileFormat, ReadsEveryValueFormOfAnExport) {
    const auto document = ParseRegText("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                                       "\r\n"
                                       "; written by hand\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                                       "@=\"default\"\r\n"
                                       "\"Text\"=\"say \\\"hi\\\" C:\\\\x\"\r\n"
                                       "\"Number\"=dword:ffffffff\r\n"
                                       "\"Bytes\"=hex:0a,00,\\\r\n"
                                       "  2a\r\n"
                                       "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                       "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                       "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                                       "\"Empty\"=hex(0):\n");
    ASSERT_TRUE(document);
    EXPECT_EQ(Dump(*document), "[HKEY_CURRENT_USER\\Software]\n" // made for its child
                               "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                               "|1|default\n"
                               "Text|1|say \"hi\" C:\\x5Cx\n"
                               "Number|4|\\xFF\\xFF\\xFF\\xFF\n"
                               "Bytes|3|\\x0A\\x00*\n"
                               "Expand|2|%A%\\x00\n"
                               "Multi|7|a\\x00b\\x00\\x00\n"
                               "Big|11|\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\n"
                               "Empty|0|\n");
    ASSERT_NE(document->findKey("hkey_current_user\\software\\zivuvozaro"), nullptr);
    EXPECT_EQ(document->keys()[1].findValue("text"), &document->keys()[1].values()[1]);
}

TEST(RegistryFileFormat, WritesTheExportForm) {
    RegDocument document;
    RegKey& key = document.ensureKey("HKEY_CURRENT_USER\\Software\\ZivUvozaro");
    for (const RegValue& value : std::vector<RegValue>{{"GlobalChannel", 1, "16"},
                                                       {"Quote\"Back\\", 1, "a\"b\\c"},
                                                       {"D", 4, "\x2A\x00\x00\x80"s},
                                                       {"B", 3, "\x0A\x00\x2A"s},
                                                       {"M", 7, "a\0b\0\0"s},
                                                       {"Lines", 1, "one\ntwo"}})
        key.setValue(value);
    EXPECT_EQ(RegText(document), "Windows Registry Editor Version 5.00\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\Software]\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                                 "\"GlobalChannel\"=\"16\"\r\n"
                                 "\"Quote\\\"Back\\\\\"=\"a\\\"b\\\\c\"\r\n"
                                 "\"D\"=dword:8000002a\r\n"
                                 "\"B\"=hex:0a,00,2a\r\n"
                                 "\"M\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                 "\"Lines\"=hex(1):6f,00,6e,00,65,00,0a,00,74,00,77,00,6f,00\r\n"
                                 "\r\n");
}

TEST(RegistryFileFormat, EveryValueComesBackUnchanged) {
    RegDocument document;
    RegKey& key = document.ensureKey("HKEY_LOCAL_MACHINE\\A \"b\"\\Ünïcode");
    const RegValue values[] = {
        {"", 1, "default"},
        {"Grüße \"x\" \\y", 1, "Grüße \"x\" \\y ✓ 🎹"},
        {"nul", 1, "a\0b"s},
        {"crlf", 2, "a\r\nb"},
        {"raw", 7, "\xFF\xC3(\xED\xA0\x80 ok\0\0"s},
        {"short dword", 4, "\x01\x02"s},
        {"qword", 11, "\x01\x02\x03\x04\x05\x06\x07\x08"s},
        {"big type", 0x12345678, "\x01"},
        {"empty", 3, ""},
    };
    for (const RegValue& value : values)
        key.setValue(value);
    const auto back = ParseRegText(RegText(document));
    ASSERT_TRUE(back);
    EXPECT_EQ(Dump(*back), Dump(document));
}

TEST(RegistryFileFormat, NamesMatchInAnyCaseAndKeepTheirFirstCase) {
    const auto document = ParseRegText("Windows Registry Editor Version 5.00\n"
                                       "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                                       "\"JogWheelRight\"=\"41\"\n"
                                       "[hkey_current_user\\SOFTWARE\\zivuvozaro]\n"
                                       "\"JOGWHEELRIGHT\"=\"42\"\n");
    ASSERT_TRUE(document);
    EXPECT_EQ(Dump(*document), "[HKEY_CURRENT_USER\\Software]\n"
                               "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                               "JogWheelRight|1|42\n");
}

TEST(RegistryFileFormat, EmptyTextIsAnEmptyRegistry) {
    for (const char* text : {"", "\r\n  \n", "Windows Registry Editor Version 5.00\r\n"}) {
        const auto document = ParseRegText(text);
        ASSERT_TRUE(document) << text;
        EXPECT_TRUE(document->keys().empty());
    }
}

TEST(RegistryFileFormat, RefusesWhatIsNotAnExport) {
    const std::string head = "Windows Registry Editor Version 5.00\n";
    const std::string key = head + "[HKEY_CURRENT_USER\\Software]\n";
    const std::string broken[] = {
        "REGEDIT4\n",
        "garbage\n",
        head + "\"Orphan\"=\"value before any key\"\n",
        head + "[HKEY_NOWHERE\\Software]\n",
        head + "[-HKEY_CURRENT_USER\\Software]\n",
        head + "[HKEY_CURRENT_USER\\\\Software]\n",
        head + "[HKEY_CURRENT_USER\\Software\n",
        key + "\"Unclosed=\"x\"\n",
        key + "\"Name\"=\"unclosed\n",
        key + "\"Name\"=\"bad \\n escape\"\n",
        key + "\"Name\"=\"x\" trailing\n",
        key + "\"Name\"=-\n",
        key + "\"Name\"=dword:123456789\n",
        key + "\"Name\"=dword:xyz\n",
        key + "\"Name\"=hex:0g\n",
        key + "\"Name\"=hex:100\n",
        key + "\"Name\"=hex:01,,02\n",
        key + "\"Name\"=hex(z):01\n",
        key + "\"Name\"=hex:01,\\\n",
        key + "Name=\"x\"\n",
        "\xFF\xFE"
        "a\0b\0"s,
    };
    for (const std::string& text : broken)
        EXPECT_FALSE(ParseRegText(text)) << text;
}

TEST(RegistryFileFormat, SaysWhereAndWhyItRefuses) {
    const auto nested = [](int levels) {
        std::string path = "Windows Registry Editor Version 5.00\n[HKEY_USERS";
        for (int level = 0; level < levels; ++level)
            path += "\\K";
        return path + "]\n";
    };
    const struct {
        std::string text, problem;
    } cases[] = {
        {"REGEDIT4\n", "line 1: not in the registry export format"},
        {"\nWindows Registry Editor Version 5.00\n[HKEY_USERS\\A]\n\"x\"=hex:01,\\\n 02\n\"y\"=1\n",
         "line 6: not in the registry export format"},
        {nested(65), "line 2: keys nested deeper than 64 levels"},
        {nested(64), ""},
    };
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_EQ(ParseRegText(c.text, &problem).has_value(), c.problem.empty()) << c.text;
        EXPECT_EQ(problem, c.problem);
    }
}

TEST(RegistryFileFormat, ReadsAUtf16Export) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n"
                             "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                             "\"Name\"=\"Grüße\"\r\n";
    const auto document = ParseRegText("\xFF\xFE" + Utf16LeFromNarrow(text));
    ASSERT_TRUE(document);
    EXPECT_EQ(Dump(*document), "[HKEY_CURRENT_USER\\Software]\n"
                               "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\n"
                               "Name|1|Gr\\xC3\\xBC\\xC3\\x9Fe\n");
}

TEST(RegistryFileFormat, Utf16ConversionKeepsEveryByte) {
    EXPECT_EQ(Utf16LeFromNarrow("aé🎹"), "a\0\xE9\0\x3C\xD8\xB9\xDF"s);
    EXPECT_EQ(NarrowFromUtf16Le("a\0\xE9\0\x3C\xD8\xB9\xDF"s), "aé🎹");
    for (const std::string& bytes :
         {"\xFF"s, "\xC3"s, "\xED\xA0\x80"s, "\xF5\x80\x80\x80"s, "\xC0\xAF"s, "ok\0\xE2\x82"s})
        EXPECT_EQ(NarrowFromUtf16Le(Utf16LeFromNarrow(bytes)), bytes);
    EXPECT_EQ(NarrowFromUtf16Le("A"), "A"); // an odd last byte is a unit of its own
}
