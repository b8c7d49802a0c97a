#pragma once
#include <QObject>

class QSocketNotifier;
class QWidget;

// SIGINT and SIGTERM close the window exactly as the user would, so whatever
// is written at exit (the port closed, the configuration saved) is not lost.
// The handler only writes to a pipe; the close runs in the event loop.
class SignalCloser : public QObject {
    Q_OBJECT

public:
    // Installed first thing, so a signal during start-up is not fatal: it is
    // acted on once the event loop runs, by then with the window to close.
    explicit SignalCloser(QObject* parent = nullptr);
    void CloseOnSignal(QWidget* window) { window_ = window; }
    ~SignalCloser() override;

    // The window was closed by a signal: nobody is there to answer a question.
    bool Fired() const { return fired_; }

private:
    static void OnSignal(int signalNumber);
    static int pipe_[2];

    QWidget* window_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    bool fired_ = false;
};
