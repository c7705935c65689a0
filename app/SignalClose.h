#pragma once

#include <memory>

class QSocketNotifier;
class QWidget;

// SIGINT and SIGTERM, caught from the moment this is made: the handler only writes a byte to a
// pipe. Once a window is named, every signal caught, earlier ones too, closes it as its close box
// does, on the window's thread.
class CloseOnSignals {
public:
    CloseOnSignals();
    ~CloseOnSignals();
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

    void closes(QWidget& window);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    bool installed_ = false;
};
