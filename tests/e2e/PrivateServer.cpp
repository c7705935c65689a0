#include "PrivateServer.h"
#include "Wait.h"

#include <jack/jack.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {
void quiet(const char*) {}

bool answers(const std::string& server) {
    jack_status_t status{};
    jack_client_t* probe = jack_client_open(
        "orvan-e2e-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
        server.c_str());
    if (!probe)
        return false;
    jack_client_close(probe);
    return true;
}
} // namespace

std::string WorkDir() {
    static const std::string dir = [] {
        const char* config = std::getenv("XDG_CONFIG_HOME"); // the run's own folder (testMain)
        return std::string(config ? config : "/tmp");
    }();
    return dir;
}

std::string PrivateServer::nameFor(const std::string& suffix) {
    return "orvan-test-" + std::to_string(getpid()) + "-" + suffix;
}

PrivateServer::PrivateServer(const std::string& suffix, bool synchronous, int period)
    : name_(nameFor(suffix)), log_(WorkDir() + "/jackd-" + suffix + ".log"),
      synchronous_(synchronous), period_(period) {
    jack_set_error_function(quiet); // "no server yet" while it starts is expected
    start();
}

void PrivateServer::start() {
    std::vector<std::string> argv{ORVAN_JACKD, "-t", "5000", "-n", name_};
    if (synchronous_)
        argv.emplace_back("-S");
    argv.insert(argv.end(), {"-d", "dummy", "-r", "48000", "-p", std::to_string(period_)});
    jackd_ = std::make_unique<ChildProcess>(argv, std::vector<std::string>{}, log_);
    const bool up = WaitUntil([this] { return !jackd_->running() || answers(name_); }, kLongWait) &&
                    jackd_->running();
    if (!up)
        throw std::runtime_error("the private JACK server " + name_ +
                                 " did not start: " + ReadFile(log_));
}

PrivateServer::~PrivateServer() {
    stop();
}

void PrivateServer::stop(int signalNumber) {
    halt(signalNumber, true);
}

void PrivateServer::halt(int signalNumber, bool reclaim) {
    if (!jackd_)
        return;
    jackd_->signal(signalNumber);
    bool clean = signalNumber != SIGKILL;
    if (!jackd_->waitExit(std::chrono::seconds(10))) {
        jackd_->signal(SIGKILL);
        clean = false;
    }
    jackd_.reset();
    // Semaphores of clients that were still attached when it stopped stay behind, and so does the
    // server's own memory when it was killed: remove them.
    const std::string mark = "_" + name_ + "_";
    std::error_code errors;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", errors)) {
        const std::string file = entry.path().filename().string();
        if ((file.rfind("jack_sem.", 0) == 0 && file.find(mark) != std::string::npos) ||
            file.rfind("jack" + mark, 0) == 0)
            std::filesystem::remove(entry.path(), errors);
    }
    // A killed server keeps its entry in JACK's server registry, which has room for only a few
    // servers on the whole machine: a server started under the same name takes the dead one's
    // entry over and gives it back when it stops properly.
    if (!clean && reclaim) {
        try {
            start();
            halt(SIGTERM, false);
        } catch (const std::exception&) {
            // Nothing more to give back.
        }
    }
}
