// The settings store under faults only another process can suffer: killed in the middle of
// saving, and a folder it may not write to.
#include "FreshStore.h"
#include "settings/RegFile.h"
#include "settings/mSettings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {
const char* const kKey = "HKEY_CURRENT_USER\\Software\\ZivUvozaro";
// About as long as one whole save takes on a memory-backed folder, so that kills land anywhere in
// it.
constexpr int kMaxHeadStartUs = 250000;

// Starts the saver with its standard output going to outFd, its standard error to errFd.
pid_t startSaver(std::vector<std::string> args, int outFd, int errFd = STDERR_FILENO) {
    args.insert(args.begin(), ORVAN_SETTINGS_SAVER);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// Every value SaveSettings writes, in the order it writes them: per bank and pad the mode, then
// the state; then both knobs.
std::vector<std::string> savedNames() {
    std::vector<std::string> names;
    char name[32];
    for (int bank = 1; bank <= 3; ++bank) {
        for (int pad = 1; pad <= 16; ++pad) {
            for (const char* kind : {"PadMode", "PadState"}) {
                std::snprintf(name, sizeof name, "%s_%d_%02d", kind, bank, pad);
                names.push_back(name);
            }
        }
    }
    names.push_back("Knob1Active");
    names.push_back("Knob2Active");
    return names;
}

// The texts that saving round n writes, in savedNames() order.
std::vector<std::string> roundTexts(long round) {
    const bool odd = round % 2 != 0;
    std::vector<std::string> texts;
    for (const std::string& name : savedNames()) {
        if (name.starts_with("PadMode"))
            texts.push_back("R" + std::to_string(round));
        else if (name.starts_with("PadState"))
            texts.push_back(odd ? "-1" : "0");
        else
            texts.push_back(odd ? "1" : "0");
    }
    return texts;
}

// What is left to read from fd, up to its end.
std::string readToEnd(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

// The number on the last whole line of text.
long lastRound(const std::string& text) {
    const size_t end = text.rfind('\n');
    if (end == std::string::npos)
        return -1;
    const size_t start = text.rfind('\n', end - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    return std::stol(text.substr(from, end - from));
}

// The store as round 0 left it, and one value that saving never touches.
void storeRoundZero(const FreshStore& store) {
    RegDocument document;
    RegKey& key = document.ensureKey(kKey);
    key.setValue({"Untouched", 1, "keep me"});
    const std::vector<std::string> names = savedNames();
    const std::vector<std::string> texts = roundTexts(0);
    for (size_t i = 0; i < names.size(); ++i)
        key.setValue({names[i], 1, texts[i]});
    store.write(RegText(document));
}

// While it lives, new stores are made in a memory-backed folder when there is one.
class MemoryFolder {
public:
    MemoryFolder() {
        const char* outer = std::getenv("XDG_CONFIG_HOME");
        previous_ = outer ? outer : "";
        std::string pattern = "/dev/shm/orvan-tests-XXXXXX";
        if (mkdtemp(pattern.data())) {
            folder_ = pattern;
            setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        }
    }
    ~MemoryFolder() {
        setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::string previous_;
    std::string folder_;
};

// A store folder that the child started with readOnlyArgs can read but not change.
class ReadOnlyStore {
public:
    ReadOnlyStore() {
        std::string pattern = "/tmp/orvan-read-only-XXXXXX";
        home_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ReadOnlyStore() {
        ::chmod(folder().c_str(), 0755);
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    std::string home() const { return home_; }
    std::string folder() const { return home_ + "/orvan"; }
    std::string file() const { return folder() + "/registry.reg"; }
    // Everything in the folder, with its bytes.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            files[entry.path().filename().string()] = text.str();
        }
        return files;
    }
    // For root, to whom no mode forbids anything, the child gives up the rights that override
    // them.
    static std::vector<std::string> readOnlyArgs() {
        return geteuid() == 0 ? std::vector<std::string>{"--no-override"}
                              : std::vector<std::string>{};
    }

private:
    std::string home_;
};
} // namespace

// A saver killed a hundred times wherever it is in SaveSettings: after every kill the store reads,
// and holds the round being saved up to some value and what was there before from that value on.
// So every value is old or new, and nothing saved before is lost.
TEST(SettingsFaults, KilledWhileSavingLeavesEveryValueOldOrNew) {
    // A killed process loses nothing it has written to the page cache, so a memory-backed folder
    // shows the same faults, only faster to reach.
    MemoryFolder memory;
    FreshStore store;
    storeRoundZero(store);
    const std::vector<std::string> names = savedNames();
    std::vector<std::string> stored = roundTexts(0);
    long round = 0;
    for (int kill = 0; kill < 100; ++kill) {
        int out[2];
        ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
        const pid_t saver = startSaver({"--loop"}, out[1]);
        ::close(out[1]);
        ASSERT_GT(saver, 0);
        // Once it is saving, give it a different head start every time.
        std::string said(1, '\0');
        ASSERT_EQ(::read(out[0], said.data(), 1), 1) << "the saver ended before saving";
        ::usleep(static_cast<useconds_t>((kill * 7919) % kMaxHeadStartUs));
        ::kill(saver, SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(finish(saver)));
        said += readToEnd(out[0]);
        ::close(out[0]);
        const long first = std::stol(said);
        round = lastRound(said);
        ASSERT_GE(round, first) << said;

        const auto document = ParseRegText(store.contents());
        ASSERT_TRUE(document) << "torn file after kill " << kill;
        const RegKey* key = document->findKey(kKey);
        ASSERT_NE(key, nullptr);
        const RegValue* untouched = key->findValue("Untouched");
        ASSERT_TRUE(untouched && untouched->data == "keep me");
        std::vector<std::string> now;
        for (const std::string& name : names) {
            const RegValue* value = key->findValue(name);
            now.push_back(value ? value->data : "<missing>");
        }
        // Before the last round began, the store held the round before it in full, or, when this
        // saver got no further than its first round, what the last kill left.
        const std::vector<std::string> before = round > first ? roundTexts(round - 1) : stored;
        const std::vector<std::string> after = roundTexts(round);
        size_t saved = 0;
        while (saved < names.size() && now[saved] == after[saved])
            ++saved;
        for (size_t i = saved; i < names.size(); ++i)
            ASSERT_EQ(now[i], before[i]) << names[i] << " after kill " << kill << " in round "
                                         << round << ", " << saved << " values saved";
        stored = now;
    }
    EXPECT_EQ(store.count("registry.reg.bad-"), 0);
    EXPECT_LE(store.count("registry.reg.tmp-"), 1);
    EXPECT_GT(round, 10) << "the saves never got far";
}

// Settings in a folder that may not be written: start-up restores what is stored, the pads are
// recalled, and the dialog's save and the save on quitting go on; the store stays exactly as it
// was, the user is told once, in a message box, why changes are not kept, and is asked before
// quitting loses the pads. The lock file may be there unwritable, or missing.
TEST(SettingsFaults, AReadOnlyFolderLosesNothingAndStopsNothing) {
    const struct {
        const char* name;
        bool lockFile;
        mode_t fileMode;
        const char* told; // {file} standing for the settings file
    } cases[] = {
        {"read-only file, unwritable lock file", true, 0444,
         "Settings file {file} is read-only; changes to settings will not be kept."},
        {"read-only file, no lock file", false, 0444,
         "Settings file {file} is read-only; changes to settings will not be kept."},
        {"writable file, unwritable lock file", true, 0644,
         "Settings could not be saved to {file} (its lock file {file}.lock cannot be used: "
         "Permission denied); the file keeps what it held before."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadOnlyStore store;
        const std::string outer = std::getenv("XDG_CONFIG_HOME");
        setenv("XDG_CONFIG_HOME", store.home().c_str(), 1);
        WriteSetting("GlobalChannel", "7");
        WriteSetting("JogWheelLeft", "40");
        WriteSetting("JogWheelRight", "41");
        WriteSetting("PadMode_1_01", "CN2");
        WriteSetting("XYPadTap", "1");
        setenv("XDG_CONFIG_HOME", outer.c_str(), 1);
        const std::string lock = store.file() + ".lock";
        if (c.lockFile)
            ::chmod(lock.c_str(), 0444);
        else
            ::unlink(lock.c_str());
        ::chmod(store.file().c_str(), c.fileMode);
        ::chmod(store.folder().c_str(), 0555);
        const auto before = store.snapshot();

        const std::string output = store.home() + "/output", errors = store.home() + "/errors";
        const int outFd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        const int errFd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        ASSERT_GE(outFd, 0);
        ASSERT_GE(errFd, 0);
        setenv("XDG_CONFIG_HOME", store.home().c_str(), 1);
        std::vector<std::string> args = ReadOnlyStore::readOnlyArgs();
        args.push_back("--session");
        const pid_t session = startSaver(args, outFd, errFd);
        setenv("XDG_CONFIG_HOME", outer.c_str(), 1);
        ::close(outFd);
        ::close(errFd);
        ASSERT_GT(session, 0);
        const int status = finish(session);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0)
            << "3: the session could write the store, 4: it could not give up its rights";

        const auto text = [](const std::string& path) {
            std::ifstream in(path);
            std::ostringstream all;
            all << in.rdbuf();
            return all.str();
        };
        std::string told = c.told;
        for (size_t at; (at = told.find("{file}")) != std::string::npos;)
            told.replace(at, 6, store.file());
        EXPECT_EQ(text(output), "message: " + told +
                                    "\n"
                                    "channel=7 pad=FLASH\n"
                                    "recalled pad=CN2\n"
                                    "message: Really Quit?\n"
                                    "message: The pad assignments could not be saved and will be "
                                    "lost. Quit anyway?\n");
        EXPECT_EQ(text(errors).find("orvan: "), std::string::npos) << text(errors);
        EXPECT_EQ(store.snapshot(), before);
    }
}
