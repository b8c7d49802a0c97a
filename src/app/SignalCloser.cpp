#include "app/SignalCloser.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace zelsim {

int SignalCloser::pipe_[2] = {-1, -1};

SignalCloser::SignalCloser(QObject* parent) : QObject(parent) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(pipe_[0], drained, sizeof drained) > 0) {
        }
        if (close_) close_();
    });
    struct sigaction action {};
    action.sa_handler = &SignalCloser::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

SignalCloser::~SignalCloser() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (pipe_[0] >= 0) ::close(pipe_[0]);
    if (pipe_[1] >= 0) ::close(pipe_[1]);
    pipe_[0] = pipe_[1] = -1;
}

void SignalCloser::OnSignal(int) {
    const char byte = 1;
    if (pipe_[1] >= 0) [[maybe_unused]]
        auto n = ::write(pipe_[1], &byte, 1);
}

}  // namespace zelsim
