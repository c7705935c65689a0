#include "FreshStore.h"
#include "settings/RegFile.h"
#include "settings/SettingsBatch.h"
#include "settings/mSettings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {
pid_t startWriter(std::vector<std::string> args) {
    args.insert(args.begin(), ORVAN_REGISTRY_WRITER);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

long number(const std::string& text) {
    return text.empty() ? 0 : std::stol(text);
}
} // namespace

TEST(RegistryProcesses, TwoWritersAtOnceLoseNoValue) {
    FreshStore store;
    constexpr int kEach = 60;
    const pid_t first = startWriter({"First", std::to_string(kEach)});
    const pid_t second = startWriter({"Second", std::to_string(kEach)});
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(finish(first), 0);
    EXPECT_EQ(finish(second), 0);
    for (int i = 0; i < kEach; ++i) {
        EXPECT_EQ(ReadSetting("First" + std::to_string(i)), "value-" + std::to_string(i));
        EXPECT_EQ(ReadSetting("Second" + std::to_string(i)), "value-" + std::to_string(i));
    }
}

// A batch works on the file as it read it; what another process saved meanwhile stays.
TEST(RegistryProcesses, ABatchKeepsWhatAnotherProcessSavedMeanwhile) {
    FreshStore store;
    WriteSettings("Mine=1, Other0=old");
    {
        SettingsBatch batch;
        WriteSetting("Mine", "2");
        const pid_t other = startWriter({"Other", "2"});
        ASSERT_GT(other, 0);
        EXPECT_EQ(finish(other), 0);
        EXPECT_EQ(ReadSettings({"Mine", "Other0", "Other1"}), "Mine=2, Other0=old, Other1=");
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(ReadSettings({"Mine", "Other0", "Other1"}), "Mine=2, Other0=value-0, Other1=value-1");
}

TEST(RegistryProcesses, AWriterKilledMidWriteLeavesAWholeFile) {
    FreshStore store;
    long last = 0;
    for (int round = 0; round < 8; ++round) {
        const pid_t writer = startWriter({"--churn"});
        ASSERT_GT(writer, 0);
        // Let it get some writes further than the last round, then kill it wherever it is.
        while (number(ReadSetting("Counter")) < last + 1 + round % 3)
            ASSERT_EQ(waitpid(writer, nullptr, WNOHANG), 0) << "the writer ended by itself";
        kill(writer, SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(finish(writer)));

        const auto document = ParseRegText(store.contents());
        ASSERT_TRUE(document) << "torn file in round " << round;
        const long counter = number(ReadSetting("Counter"));
        // "Filler" n is written just before "Counter" n.
        const std::string filler = ReadSetting("Filler");
        const std::string fillerRound = filler.substr(0, filler.find(':'));
        EXPECT_TRUE(number(fillerRound) == counter || number(fillerRound) == counter + 1)
            << fillerRound;
        EXPECT_EQ(filler, fillerRound + ":" + std::string(4096, 'x'));
        EXPECT_EQ(store.count("registry.reg.bad-"), 0);
        last = counter;
    }
}
