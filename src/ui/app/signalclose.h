#pragma once
// A session logout or `kill` ends a program with SIGTERM, SIGHUP or SIGINT. Left to their
// default, those signals end the process on the spot, without what closing the main window does
// (saving the settings, writing the tally). SignalCloser turns them into an ordinary event: the
// signal handler only writes the signal number into a pipe, and a socket notifier on the
// user-interface thread reads it and runs the given action there, where any code may run.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace plimb {

class SignalCloser : public QObject {
public:
    // Installs the handlers for SIGTERM, SIGHUP and SIGINT; `onSignal` runs once per signal
    // received, on this object's thread. One instance at a time; the destructor puts the
    // default handlers back.
    explicit SignalCloser(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~SignalCloser() override;
    SignalCloser(const SignalCloser&) = delete;
    SignalCloser& operator=(const SignalCloser&) = delete;

    // False when the pipe could not be made; the signals then keep their default action.
    bool installed() const { return notifier_ != nullptr; }

private:
    void readSignals();

    std::function<void(int)> onSignal_;
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace plimb
