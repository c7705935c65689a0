#include "app/LaunchOptions.h"

#include <regex>

namespace {
bool validPattern(const std::string& pattern, std::string& why) {
    try {
        std::regex compiled(pattern, std::regex::ECMAScript);
        return true;
    } catch (const std::regex_error& error) {
        why = error.what();
        return false;
    }
}
} // namespace

std::string LaunchUsage() {
    return "Usage: orvan [options]\n"
           "  --server NAME        JACK server to attach to (default: JACK's default server)\n"
           "  --client-name NAME   JACK client name (default: orvan)\n"
           "  --controller REGEX   connect controller_in and controller_out to the MIDI ports\n"
           "                       whose full names match, now and whenever one appears\n"
           "  --daw REGEX          the same for daw_in and daw_out (your music software)\n"
           "  --native-mode        press \"Native Mode\" once started; when a port matching\n"
           "                       --controller appears again, put the controller back into\n"
           "                       native mode showing the state it had\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "A pattern matches anywhere in \"client:port\"; anchor it with ^ and $.\n";
}

LaunchParse ParseLaunchOptions(const std::vector<std::string>& arguments) {
    LaunchParse parse;
    LaunchOptions& options = parse.options;
    const struct {
        const char* name;
        std::string* value;
        bool pattern;
    } valued[] = {
        {"--server", &options.host.server, false},
        {"--client-name", &options.host.clientName, false},
        {"--controller", &options.host.controllerPorts, true},
        {"--daw", &options.host.dawPorts, true},
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
            std::string why;
            if (option.pattern && !validPattern(value, why)) {
                parse.error = name + ": \"" + value + "\" is not a regular expression: " + why;
                return parse;
            }
            *option.value = value;
        }
        if (!known) {
            parse.error = "unknown option \"" + argument + "\"";
            return parse;
        }
    }
    return parse;
}
