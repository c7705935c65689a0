#include "host/LaunchOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Args = std::vector<std::string>;
}

TEST(LaunchOptions, DefaultsWithoutArguments) {
    const LaunchParse parse = ParseLaunchOptions({});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.options.host.server, "");
    EXPECT_EQ(parse.options.host.clientName, "orvan");
    EXPECT_EQ(parse.options.host.controllerPorts, "");
    EXPECT_EQ(parse.options.host.dawPorts, "");
    EXPECT_FALSE(parse.options.nativeMode);
    EXPECT_FALSE(parse.options.help);
    EXPECT_FALSE(parse.options.version);
}

TEST(LaunchOptions, ReadsEveryOption) {
    const LaunchParse parse =
        ParseLaunchOptions({"--server", "studio", "--client-name=orvan2", "--controller",
                            "^system:midi_.*pad", "--daw=daw:", "--native-mode"});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.options.host.server, "studio");
    EXPECT_EQ(parse.options.host.clientName, "orvan2");
    EXPECT_EQ(parse.options.host.controllerPorts, "^system:midi_.*pad");
    EXPECT_EQ(parse.options.host.dawPorts, "daw:");
    EXPECT_TRUE(parse.options.nativeMode);
    EXPECT_TRUE(ParseLaunchOptions({"--help"}).options.help);
    EXPECT_TRUE(ParseLaunchOptions({"--version"}).options.version);
}

TEST(LaunchOptions, AValueMayContainEqualsSigns) {
    const LaunchParse parse = ParseLaunchOptions({"--controller=a=b"});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.options.host.controllerPorts, "a=b");
}

TEST(LaunchOptions, RefusesBadCommandLines) {
    const struct {
        Args args;
        const char* mentions;
    } cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"-h"}, "-h"},
        {{"extra"}, "extra"},
        {{"--server"}, "--server"},
        {{"--server="}, "--server"},
        {{"--client-name", ""}, "--client-name"},
        {{"--controller", "("}, "--controller"},
        {{"--daw=[a-"}, "--daw"},
        {{"--native-mode=1"}, "--native-mode=1"},
        {{"--native-mode", "--version", "--nope"}, "--nope"},
    };
    for (const auto& c : cases) {
        const LaunchParse parse = ParseLaunchOptions(c.args);
        EXPECT_NE(parse.error.find(c.mentions), std::string::npos)
            << c.args.front() << ": \"" << parse.error << '"';
    }
}

TEST(LaunchOptions, UsageNamesEveryOption) {
    const std::string usage = LaunchUsage();
    for (const char* option : {"--server NAME", "--client-name NAME", "--controller REGEX",
                               "--daw REGEX", "--native-mode", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}
