#pragma once

#include "engine/ControllerEngine.h"
#include "support/RecordingHost.h"
#include "ui/MessageBox.h"
#include "ui/frmMain.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Answers Orvan's message boxes for the user and remembers what they said.
class MessageAnswers {
public:
    MessageAnswers();
    ~MessageAnswers();

    std::deque<MsgAnswer> answers; // taken in order; when empty: OK, or No for a question
    std::vector<MessageRequest> shown;
};

// The main window on a recording host, with its message boxes answered by the test; the engine
// runs in the host's cycles, which the harness drives.
class Harness {
public:
    explicit Harness(RecordingHost::Setup setup = {});

    frmMain& window() { return *window_; }
    // The engine, for the test to set up and look at directly, and its runner.
    ControllerEngine& main() { return runner_->engine(); }
    EngineRunner& runner() { return *runner_; }
    RecordingHost& host() { return *host_; }
    MessageAnswers& messages() { return messages_; }

    // Start-up as at program start, then forget what it sent.
    void load();
    // Start-up, then "Native Mode", then forget what both sent.
    void loadNative();
    // Everything sent since the last clear, in order, once the engine is idle.
    std::vector<std::string> wire();
    void clear();
    // Runs cycles until nothing waits: what the window asked of the engine is done.
    void settle() { host_->settle(); }
    // A handler started now, run until it ends.
    void run(Task chain);

    // A controller report: "F0 42 40 6E 08 " + payload + " F7".
    void report(const std::string& payload);
    // The report arrives while the engine waits next (inside a pulse), and is handled there.
    void reportDuringNextWait(const std::string& payload);

    bool hostReleased() const { return released_; }

private:
    MessageAnswers messages_;
    RecordingHost* host_ = nullptr;
    std::unique_ptr<EngineRunner> runner_;
    bool released_ = false;
    std::unique_ptr<frmMain> window_;
};
