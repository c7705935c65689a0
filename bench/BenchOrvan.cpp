#include "BenchOrvan.h"

#include "Wait.h"

#include <chrono>
#include <cstdio>
#include <thread>

Bytes NativeReport(uint8_t kind, uint8_t byte7, uint8_t byte8) {
    return {0xF0, 0x42, 0x40, 0x6E, 0x08, kind, byte7, byte8, 0xF7};
}

bool PortConnected(jack_client_t* client, const std::string& port, int count) {
    jack_port_t* p = jack_port_by_name(client, port.c_str());
    return p && jack_port_connected(p) >= count;
}

std::unique_ptr<ChildProcess> StartOrvan(const std::string& server, const std::string& name,
                                         const std::string& controllerPort,
                                         const std::string& dawPattern, const std::string& log,
                                         const std::function<bool()>& wired) {
    auto orvan = std::make_unique<ChildProcess>(
        std::vector<std::string>{ORVAN_BINARY, "--server", server, "--client-name", name,
                                 "--controller", "^" + controllerPort + "$", "--daw", dawPattern},
        std::vector<std::string>{}, log);
    const bool up = WaitUntil([&] { return !orvan->running() || wired(); });
    if (!up || !orvan->running()) {
        std::fprintf(stderr, "orvan did not start or connect:\n%s", ReadFile(log).c_str());
        return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return orvan;
}
