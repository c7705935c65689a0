#pragma once

#include "host/frmMain.h"
#include "support/RecordingHost.h"
#include "ui/MessageBox.h"

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

// A main window on a recording host, with its message boxes answered by the test.
class Harness {
public:
    explicit Harness(RecordingHost::Setup setup = {});

    frmMain& main() { return *main_; }
    RecordingHost& host() { return *host_; }
    MessageAnswers& messages() { return messages_; }

    // Start-up as at program start, then forget what it sent.
    void load();
    // Start-up, then "Native Mode", then forget what both sent.
    void loadNative();
    // Everything sent since the last clear, in order.
    std::vector<std::string> wire() const { return host_->wire; }
    void clear();

    // A controller report: "F0 42 40 6E 08 " + payload + " F7".
    void report(const std::string& payload);

    bool hostReleased() const { return released_; }

private:
    MessageAnswers messages_;
    RecordingHost* host_ = nullptr;
    bool released_ = false;
    std::unique_ptr<frmMain> main_;
};
