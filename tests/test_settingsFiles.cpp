// What the settings store does with files that are not plain, parseable and writable: it reads
// only regular files within its limits, never writes through a link it must not follow, keeps a
// link it may follow, and tells the user once what happens.
#include "FreshStore.h"
#include "settings/SettingsBatch.h"
#include "settings/StoreNotices.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

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
        {"a link to a device",
         [](auto& s) { fs::create_symlink("/dev/zero", s.file()); },
         "",
         false,
         "link",
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
        {"a link to a file elsewhere",
         [](auto& s) {
             s.write(kStored);
             fs::rename(s.file(), s.folder() + "/../kept.reg");
             fs::create_symlink("../kept.reg", s.file());
         },
         "7",
         true,
         "link, kept.reg saved",
         {}},
        {"a link to no file yet",
         [](auto& s) { fs::create_symlink(s.folder() + "/../kept.reg", s.file()); },
         "",
         true,
         "link, kept.reg saved",
         {}},
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
        const std::string elsewhere = store.folder() + "/../kept.reg";
        if (fs::is_regular_file(elsewhere))
            after += store.contents().find("\"GlobalChannel\"=\"6\"") != std::string::npos
                         ? ", kept.reg saved"
                         : ", kept.reg unsaved";
        EXPECT_EQ(after, c.after);

        ASSERT_EQ(log.told.size(), c.notices.size()) << ::testing::PrintToString(log.told);
        for (size_t i = 0; i < c.notices.size(); ++i)
            EXPECT_TRUE(log.told[i].starts_with(withPath(c.notices[i], store.file())))
                << log.told[i];
    }
}
