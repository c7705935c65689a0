#include "ResidentMemory.h"

#include <fstream>
#include <string>

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string field;
    while (status >> field) {
        long kib = 0;
        if (field == "VmRSS:" && status >> kib)
            return kib;
    }
    return -1;
}
