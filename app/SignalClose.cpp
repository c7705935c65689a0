#include "app/SignalClose.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int selfPipe[2] = {-1, -1};
struct sigaction previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void onSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(selfPipe[1], &byte, 1);
}
} // namespace

CloseOnSignals::CloseOnSignals() {
    if (pipe2(selfPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 2; ++i)
        sigaction(kSignals[i], &action, &previous[i]);
    installed_ = true;
}

void CloseOnSignals::closes(QWidget& window) {
    if (!installed_)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(selfPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &window, [&window] {
        char bytes[16];
        while (::read(selfPipe[0], bytes, sizeof bytes) > 0) {
        }
        window.close();
    });
}

CloseOnSignals::~CloseOnSignals() {
    if (!installed_)
        return;
    for (int i = 0; i < 2; ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
    notifier_.reset();
    ::close(selfPipe[0]);
    ::close(selfPipe[1]);
    selfPipe[0] = selfPipe[1] = -1;
}
