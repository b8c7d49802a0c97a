#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zelsim {

// SIGINT and SIGTERM close the window exactly as the user would, so whatever
// is written at exit (the port closed, the configuration saved) is not lost.
// The handler only writes to a pipe; the close runs in the event loop.
class SignalCloser : public QObject {
    Q_OBJECT

  public:
    // Installed first thing, so a signal during start-up is not fatal: it is
    // acted on once the event loop runs, by then with the window to close.
    explicit SignalCloser(QObject* parent = nullptr);
    // `close` closes the window knowing that nobody may be there to answer
    // a question.
    void CloseOnSignal(std::function<void()> close) { close_ = std::move(close); }
    ~SignalCloser() override;

  private:
    static void OnSignal(int signalNumber);
    static int pipe_[2];

    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelsim
