#pragma once
// One running copy per user and display: a second copy asks the first to raise its window and
// exits. A local socket carries the request, so the first copy never needs to be found by
// window handle.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace plimb {

class InstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit InstanceGuard(QObject* parent = nullptr);
    // The guard's name for this user on this display.
    static QString name();
    // True when another copy is running; it has then been asked to raise its window.
    bool otherInstanceRunning();
    // Starts answering later copies; `raise` runs for each one that asks.
    void serve(std::function<void()> raise);
    // Stops answering, so that a copy started from now on runs (a relaunch with another command
    // line). This copy must be on its way out: a later copy no longer raises it.
    void release();

private:
    QLocalServer server_;
    std::function<void()> raise_;
};

} // namespace plimb
