// What the settings store does with files that are not plain, parseable and writable: it reads
// only regular files within its limits, follows a link only to a settings file and never in a
// folder other users may write, keeps a link it follows, and tells the user once what happens.
#include "FreshStore.h"
#include "settings/SettingsBatch.h"
#include "settings/StoreNotices.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace {
namespace fs = std::filesystem;
const std::string kHead = "Windows Registry Editor Version 5.00\r\n";
const std::string kStored = kHead + "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                                    "\"GlobalChannel\"=\"7\"\r\n";

// Collects the notices told while it lives.
struct NoticeLog {
    std::vector<std::string> told;
    NoticeLog() {
        SetStoreNoticeHandler([this](const std::string& text) { told.push_back(text); });
    }
    ~NoticeLog() { SetStoreNoticeHandler(nullptr); }
};

std::string kindOf(const std::string& path) {
    switch (fs::symlink_status(path).type()) {
    case fs::file_type::regular:
        return "file";
    case fs::file_type::symlink:
        return "link";
    case fs::file_type::fifo:
        return "fifo";
    case fs::file_type::directory:
        return "folder";
    default:
        return "missing";
    }
}

// The text with {file} standing for path.
std::string withPath(std::string text, const std::string& path) {
    for (size_t at = text.find("{file}"); at != std::string::npos; at = text.find("{file}", at))
        text.replace(at, 6, path);
    return text;
}
} // namespace

TEST(SettingsFiles, OnlyWhatCanBeUsedIsReadAndOnlyWhatMayBeReplacedIsWritten) {
    const std::string deep = [] {
        std::string path = "[HKEY_CURRENT_USER";
        for (int level = 0; level < 65; ++level)
            path += "\\K";
        return path + "]\r\n";
    }();
    const std::string notRegular = "Settings could not be read from {file} (not a regular file); "
                                   "defaults apply and nothing will be saved there.";
    const std::string keptAside = "The unusable settings file {file} was kept as {file}.bad-";
    const struct {
        const char* name;
        std::function<void(const FreshStore&)> lay; // the settings file's place as found
        const char* reads;                          // GlobalChannel as read at first
        bool saved;                                 // whether a batch's change is kept
        const char* after;                          // what is at the settings path afterwards
        std::vector<std::string> notices;           // the starts of the texts told
    } cases[] = {
        {"a FIFO",
         [](auto& s) { ::mkfifo(s.file().c_str(), 0600); },
         "",
         false,
         "fifo",
         {notRegular}},
        {"a folder",
         [](auto& s) { fs::create_directory(s.file()); },
         "",
         false,
         "folder",
         {notRegular}},
        {"a read-only file",
         [](auto& s) {
             s.write(kStored);
             ::chmod(s.file().c_str(), 0444);
         },
         "7",
         false,
         "file",
         {"Settings file {file} is read-only; changes to settings will not be kept."}},
        {"a file over 1 MB",
         [](auto& s) { s.write(kStored + std::string(1 << 20, '\n')); },
         "",
         true,
         "file, 1 set aside",
         {"Settings in {file} could not be used (larger than 1 MB); defaults apply, and the file "
          "is set aside when settings are saved.",
          keptAside}},
        {"a key 65 levels deep",
         [&](auto& s) { s.write(kStored + deep); },
         "",
         true,
         "file, 1 set aside",
         {"Settings in {file} could not be used (line 4: keys nested deeper than 64 levels)",
          keptAside}},
        {"a lock file that is a link",
         [](auto& s) {
             s.write(kStored);
             fs::create_symlink("../kept.reg", s.file() + ".lock");
         },
         "7",
         false,
         "file",
         {"Settings could not be saved to {file} (its lock file {file}.lock cannot be used: it is "
          "a symbolic link); the file keeps what it held before."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshStore store;
        fs::create_directories(store.folder());
        c.lay(store);
        NoticeLog log;
        EXPECT_EQ(ReadSetting("GlobalChannel"), c.reads);
        {
            SettingsBatch batch;
            WriteSetting("GlobalChannel", "5");
            EXPECT_EQ(ReadSetting("GlobalChannel"), "5");
            EXPECT_EQ(batch.commit(), c.saved);
        }
        EXPECT_EQ(ReadSetting("GlobalChannel"), c.saved ? "5" : c.reads);
        WriteSetting("GlobalChannel", "6"); // told once, not at every call
        ReadSetting("GlobalChannel");

        std::string after = kindOf(store.file());
        if (const int aside = store.count("registry.reg.bad-"))
            after += ", " + std::to_string(aside) + " set aside";
        EXPECT_EQ(after, c.after);

        ASSERT_EQ(log.told.size(), c.notices.size()) << ::testing::PrintToString(log.told);
        for (size_t i = 0; i < c.notices.size(); ++i)
            EXPECT_TRUE(log.told[i].starts_with(withPath(c.notices[i], store.file())))
                << log.told[i];
    }
}

namespace {
// Every file, link and folder below a folder, links not followed: a file as its bytes, a link as
// "-> " and where it leads, a folder as "/".
std::map<std::string, std::string> Tree(const std::string& top) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const std::string name = entry.path().lexically_relative(top).string();
        if (entry.is_symlink())
            tree[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            tree[name] = "/";
        else if (entry.is_regular_file())
            tree[name] = (std::ostringstream() << std::ifstream(entry.path()).rdbuf()).str();
        else
            tree[name] = "?";
    }
    return tree;
}
} // namespace

// A settings file that is a link, or that other users may write, or in a folder they may write:
// afterwards every file is as expected byte for byte, and nothing was followed, set aside,
// created or replaced that should not be.
TEST(SettingsFiles, ALinkIsFollowedOnlyToASettingsFileOfTheUsersOwn) {
    const char* const F = "root:x:0:0:root:/root:/bin/bash\n";
    const char* const S = kStored.c_str();
    const std::string L = "../elsewhere/kept.reg";
    const std::string saved = kHead + "\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\ZivUvozaro]\r\n"
                                      "\"GlobalChannel\"=\"6\"\r\n\r\n";
    const struct {
        const char* name;
        std::string link;    // where orvan/registry.reg leads; none: it is the file itself
        const char* text;    // of the file it leads to (elsewhere/kept.reg), or of itself
        const char* shared;  // what everybody may write: "file", a folder, or nothing
        const char* savedAt; // the file that takes the change, if any
        const char* told;    // what each notice says, in order, parted by "|"
    } cases[] = {
        {"a link to a settings file", L, S, "", "elsewhere/kept.reg", ""},
        {"a link to a foreign file", L, F, "", nullptr, "link to no settings file (line 1: "},
        {"a link to nothing", L, nullptr, "", nullptr,
         "link to no settings file (it leads nowhere); it is left as it is: defaults apply"},
        {"a link to a device", "/dev/zero", nullptr, "", nullptr, "(not a regular file)"},
        {"a link to an empty file", L, "", "", nullptr, "(an empty file)"},
        {"a link to a file others may write", L, S, "file", nullptr,
         "(a file other users may write)"},
        {"a link into a folder others may write", L, S, "elsewhere", nullptr,
         "(a file in a folder other users may write)"},
        {"a link in a folder others may write", L, S, "orvan", nullptr,
         "may be written by other users; links in it are not followed|link that is not followed"},
        {"a file in a folder others may write", "", S, "orvan", "orvan/registry.reg",
         "links in it are not followed"},
        {"a file others may write", "", S, "file", "orvan/registry.reg",
         "may be written by other users."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshStore store;
        const std::string home = fs::path(store.folder()).parent_path();
        fs::create_directories(home + "/elsewhere");
        fs::create_directories(store.folder());
        const std::string file = c.link.empty() ? store.file() : home + "/elsewhere/kept.reg";
        if (!c.link.empty())
            fs::create_symlink(c.link, store.file());
        if (c.text)
            std::ofstream(file, std::ios::binary) << c.text;
        const std::string shared = c.shared == std::string("file") ? file : home + "/" + c.shared;
        if (*c.shared)
            fs::permissions(shared, fs::perms::others_write, fs::perm_options::add);
        std::map<std::string, std::string> expected = Tree(home);
        expected["orvan/registry.reg.lock"] = ""; // Orvan's own, beside the settings file
        if (c.savedAt)
            expected[c.savedAt] = saved;

        NoticeLog log;
        EXPECT_EQ(ReadSetting("GlobalChannel"), c.savedAt ? "7" : "");
        {
            SettingsBatch batch;
            WriteSetting("GlobalChannel", "6");
            EXPECT_EQ(batch.commit(), c.savedAt != nullptr);
        }
        ReadSetting("GlobalChannel");
        EXPECT_EQ(Tree(home), expected);
        std::string told;
        for (const std::string& text : log.told)
            told += (told.empty() ? "" : "|") + text;
        std::istringstream parts(c.told);
        for (std::string part; std::getline(parts, part, '|');) {
            const size_t at = told.find(part);
            ASSERT_NE(at, std::string::npos) << part << " in " << told;
            told.erase(0, at + part.size());
        }
        EXPECT_TRUE(*c.told ? told.find('|') == std::string::npos : told.empty())
            << "more was told: " << told;
    }
}
