// Writes settings from a process of its own, for tests of several processes sharing the store.
//   registry_writer PREFIX COUNT   stores PREFIX0 .. PREFIX<COUNT-1> as "value-0" ...
//   registry_writer --churn        forever: "Filler" = n and 4 KB of text, then "Counter" = n
#include "settings/mSettings.h"

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--churn") == 0) {
        const std::string padding(4096, 'x');
        for (long n = 1;; ++n) {
            WriteSetting("Filler", std::to_string(n) + ":" + padding);
            WriteSetting("Counter", std::to_string(n));
        }
    }
    if (argc != 3)
        return 2;
    const long count = std::strtol(argv[2], nullptr, 10);
    for (long i = 0; i < count; ++i)
        WriteSetting(argv[1] + std::to_string(i), "value-" + std::to_string(i));
    return 0;
}
