#include "app/LaunchOptions.h"
#include "host/jack/PortPattern.h"

#include <cstring>

namespace {
// JACK reaches its server through a socket named after it: a longer name does not fit the
// socket's path for every user and client, and libjack overruns its buffers on some.
constexpr size_t kMaxServerName = 64;
// A JACK client name holds 63 characters; Orvan's second client adds "-feedback", and JACK a
// "-NN" when the name is taken.
constexpr size_t kMaxClientName = 63 - 9 - 3;
constexpr size_t kMaxScene = 4096;

bool validPattern(const std::string& text, std::string& why) {
    try {
        PortPattern compiled(text);
        return true;
    } catch (const std::invalid_argument& error) {
        why = error.what();
        return false;
    }
}

std::string tooLong(const std::string& name, size_t maxLength) {
    return name + " takes at most " + std::to_string(maxLength) + " characters";
}
} // namespace

std::string LaunchUsage() {
    return "Usage: orvan [options]\n"
           "  --server NAME        JACK server to attach to (default: JACK_DEFAULT_SERVER or\n"
           "                       JACK's default server; at most 64 characters)\n"
           "  --client-name NAME   JACK client name (default: orvan; at most 51 characters, no\n"
           "                       ':'); the feedback input is on NAME-feedback\n"
           "  --controller REGEX   connect controller_in and controller_out to the MIDI ports\n"
           "                       whose full names match, now and whenever one appears\n"
           "  --daw REGEX          the same for daw_in and daw_out (your music software)\n"
           "  --native-mode        press \"Native Mode\" once started; when a port matching\n"
           "                       --controller appears again, put the controller back into\n"
           "                       native mode showing the state it had\n"
           "  --scene NAME|FILE    start with this scene: one saved under that name, or a\n"
           "                       scene file\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "A pattern (RE2 syntax, at most 4096 characters) matches anywhere in\n"
           "\"client:port\"; anchor it with ^ and $.\n";
}

LaunchParse ParseLaunchOptions(const std::vector<std::string>& arguments,
                               const char* defaultServer) {
    LaunchParse parse;
    LaunchOptions& options = parse.options;
    const struct {
        const char* name;
        std::string* value;
        bool pattern;
        size_t maxLength;
    } valued[] = {
        {"--server", &options.host.server, false, kMaxServerName},
        {"--client-name", &options.host.clientName, false, kMaxClientName},
        {"--controller", &options.host.controllerPorts, true, PortPattern::kMaxLength},
        {"--daw", &options.host.dawPorts, true, PortPattern::kMaxLength},
        {"--scene", &options.scene, false, kMaxScene},
    };
    const struct {
        const char* name;
        bool* flag;
    } flags[] = {
        {"--native-mode", &options.nativeMode},
        {"--help", &options.help},
        {"--version", &options.version},
    };

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        bool known = false;
        for (const auto& flag : flags) {
            if (argument == flag.name) {
                *flag.flag = true;
                known = true;
            }
        }
        for (const auto& option : valued) {
            if (name != option.name)
                continue;
            known = true;
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                parse.error = name + " needs a value";
                return parse;
            }
            if (value.empty()) {
                parse.error = name + " needs a value";
                return parse;
            }
            if (value.size() > option.maxLength) {
                parse.error = tooLong(name, option.maxLength);
                return parse;
            }
            // A ':' parts a port name from its client's: Orvan's own ports would match its
            // patterns and be connected to themselves.
            if (option.value == &options.host.clientName && value.find(':') != std::string::npos) {
                parse.error = name + ": \"" + value + "\" may not contain ':'";
                return parse;
            }
            if (option.pattern && !validPattern(value, parse.error)) {
                parse.error = name + ": " + parse.error;
                return parse;
            }
            *option.value = value;
        }
        if (!known) {
            parse.error = "unknown option \"" + argument + "\"";
            return parse;
        }
    }
    // Without --server, libjack takes the server's name from the environment.
    const bool attaches = !options.help && !options.version;
    if (attaches && options.host.server.empty() && defaultServer &&
        std::strlen(defaultServer) > kMaxServerName)
        parse.error = tooLong("JACK_DEFAULT_SERVER", kMaxServerName);
    return parse;
}
