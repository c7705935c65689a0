#include "SharedServer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {
std::unique_ptr<PrivateServer>& shared() {
    static std::unique_ptr<PrivateServer> server;
    return server;
}

// A failed test may have lost MIDI to the server itself: say how many cycles it ran late.
class ServerTrouble : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (!test.result()->Failed() || !shared())
            return;
        const std::string log = shared()->log();
        size_t xruns = 0;
        for (size_t at = log.find("XRun"); at != std::string::npos; at = log.find("XRun", at + 1))
            ++xruns;
        std::printf("note: the shared JACK server reported %zu late cycles (XRun) so far\n", xruns);
    }
};

class StopSharedServer : public ::testing::Environment {
public:
    void SetUp() override {
        static bool listening = false;
        if (!listening)
            ::testing::UnitTest::GetInstance()->listeners().Append(new ServerTrouble);
        listening = true;
    }
    void TearDown() override { shared().reset(); }
};
[[maybe_unused]] ::testing::Environment* const stopAtEnd =
    ::testing::AddGlobalTestEnvironment(new StopSharedServer);
} // namespace

PrivateServer& SharedServer() {
    if (!shared())
        shared() = std::make_unique<PrivateServer>("shared", true);
    return *shared();
}
