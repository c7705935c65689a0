#pragma once

#include "ChildProcess.h"

#include <csignal>
#include <memory>
#include <string>

// A JACK server of the tests' own: dummy driver, a name no other server has. Never the user's.
class PrivateServer {
public:
    // Starts it and waits until it answers; throws when it does not. A synchronous server
    // waits for every client in each cycle, so a client that runs late delays the cycle instead
    // of having its ports read again or not at all.
    explicit PrivateServer(const std::string& suffix, bool synchronous = false, int period = 128);
    ~PrivateServer();

    // The name a server started with this suffix has.
    static std::string nameFor(const std::string& suffix);
    const std::string& name() const { return name_; }
    std::string log() const { return ReadFile(log_); }
    // Stops it as a user would (SIGTERM), or as a crash would (SIGKILL), and waits until it is
    // gone.
    void stop(int signalNumber = SIGTERM);
    // Starts it again, under the same name, after a stop.
    void restart() { start(); }
    // Stalls it (SIGSTOP) or lets it go on (SIGCONT).
    void signal(int signalNumber) { jackd_->signal(signalNumber); }

private:
    void start();
    void halt(int signalNumber, bool reclaim);

    std::string name_;
    std::string log_;
    bool synchronous_;
    int period_;
    std::unique_ptr<ChildProcess> jackd_;
};

// A folder for this run's files.
std::string WorkDir();
