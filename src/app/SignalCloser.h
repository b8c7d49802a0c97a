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
    SignalCloser(QWidget& window, QObject* parent = nullptr);
    ~SignalCloser() override;

private:
    static void OnSignal(int signalNumber);
    static int pipe_[2];

    QWidget& window_;
    QSocketNotifier* notifier_ = nullptr;
};
