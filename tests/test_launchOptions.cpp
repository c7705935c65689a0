#include "app/LaunchOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Args = std::vector<std::string>;

// server|client name|controller|daw, then the flags native mode, help, version as 0/1.
std::string Rendered(const LaunchOptions& o) {
    return o.host.server + "|" + o.host.clientName + "|" + o.host.controllerPorts + "|" +
           o.host.dawPorts + "|" + std::to_string(o.nativeMode) + std::to_string(o.help) +
           std::to_string(o.version);
}
} // namespace

TEST(LaunchOptions, ReadsEveryOptionAndItsUsageNamesEach) {
    const struct {
        Args args;
        std::string options;
    } cases[] = {
        {{}, "|orvan|||000"},
        {{"--server", "studio", "--client-name=orvan2", "--controller", "^system:midi_.*pad",
          "--daw=daw:", "--native-mode"},
         "studio|orvan2|^system:midi_.*pad|daw:|100"},
        {{"--controller=a=b"}, "|orvan|a=b||000"},
        {{"--server", std::string(64, 's'), "--client-name", std::string(51, 'c')},
         std::string(64, 's') + "|" + std::string(51, 'c') + "|||000"},
        {{"--daw", "caf\xe9:"}, "|orvan||caf\xe9:|000"},
        {{"--controller", "(x+x+)+y", "--daw", std::string(4096, 'd')},
         "|orvan|(x+x+)+y|" + std::string(4096, 'd') + "|000"},
        {{"--help"}, "|orvan|||010"},
        {{"--version"}, "|orvan|||001"},
    };
    for (const auto& c : cases) {
        const LaunchParse parse = ParseLaunchOptions(c.args);
        EXPECT_EQ(parse.error, "") << c.options;
        EXPECT_EQ(Rendered(parse.options), c.options);
    }
    // JACK_DEFAULT_SERVER names the server only where --server does not.
    const std::string longName(65, 'e');
    for (const Args& args : {Args{"--server", "studio"}, Args{"--help"}, Args{"--version"}})
        EXPECT_EQ(ParseLaunchOptions(args, longName.c_str()).error, "") << args.front();
    EXPECT_EQ(ParseLaunchOptions({}, longName.substr(1).c_str()).error, "");
    const std::string usage = LaunchUsage();
    for (const char* option : {"--server NAME", "--client-name NAME", "--controller REGEX",
                               "--daw REGEX", "--native-mode", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

// Patterns are matched by an engine of bounded time and memory: what it cannot take, or a
// pattern too long for it, is refused with a message that quotes the start of the pattern.
TEST(LaunchOptions, RefusesBadCommandLines) {
    const std::string deep = std::string(30000, '(') + std::string(30000, ')');
    const struct {
        Args args;
        const char* mentions;
        std::string defaultServer{};
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
        {{"--server", std::string(65, 's')}, "at most 64"},
        {{"--client-name", std::string(52, 'c')}, "at most 51"},
        {{"--client-name=a:b"}, "may not contain ':'"},
        {{"--controller", "\\"}, "--controller: \"\\\" is not a regular expression: trailing \\"},
        {{"--daw", "[z-a]"}, "--daw: \"[z-a]\" is not a regular expression: invalid character"},
        {{"--controller", "((a{1000}){1000}){1000}"}, "invalid repetition size"},
        {{"--controller", deep}, "--controller takes at most 4096 characters"},
        {{"--daw", std::string(900000, 'd')}, "--daw takes at most 4096 characters"},
        {{"--daw", "(?<=a)b"}, "invalid perl operator"},
        {{}, "JACK_DEFAULT_SERVER takes at most 64 characters", std::string(65, 'e')},
        {{"--native-mode"}, "JACK_DEFAULT_SERVER takes at most 64", std::string(300, 'e')},
    };
    for (const auto& c : cases) {
        const LaunchParse parse =
            ParseLaunchOptions(c.args, c.defaultServer.empty() ? nullptr : c.defaultServer.c_str());
        EXPECT_NE(parse.error.find(c.mentions), std::string::npos)
            << c.mentions << ": \"" << parse.error << '"';
    }
}
