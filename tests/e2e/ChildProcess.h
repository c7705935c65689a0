#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A program the tests start. It dies with the test program, so that nothing outlives a crash.
class ChildProcess {
public:
    // Starts argv[0] (looked up in PATH) with the environment plus `environment` ("NAME=value"),
    // standard output and error going to `outputFile`.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::string& outputFile);
    ~ChildProcess(); // kills it if it still runs

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int number);
    bool running();
    // The exit code (128 + the signal when a signal ended it), or nothing when it still runs.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    std::optional<int> exit_;
};

// The whole text of a file ("" when there is none).
std::string ReadFile(const std::string& path);
