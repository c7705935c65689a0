#pragma once

#include <memory>

class QSocketNotifier;
class QWidget;

// While it lives, SIGINT and SIGTERM close the window as its close box does. The signal handler
// only writes a byte to a pipe; the window is closed on the GUI thread.
class CloseOnSignals {
public:
    explicit CloseOnSignals(QWidget& window);
    ~CloseOnSignals();

    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};
