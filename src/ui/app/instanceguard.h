#pragma once
// One running copy per user and display: a second copy asks the first to raise its window, hands
// it the invitation link it was started with, if any, and exits. A local socket carries the request, so the
// first copy never needs to be found by window handle. The socket lives in a folder only this user can enter,
// and each end checks whose process is at the other end, so another user can neither stop this user's copies
// from starting nor raise their windows.
#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace plimb {

class InstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit InstanceGuard(QObject* parent = nullptr);
    // `user` is the one whose copies count: a listener or a request of any other user is a
    // stranger's. The default is the effective user; tests pass another to play a stranger.
    InstanceGuard(uid_t user, QObject* parent);

    // The guard's socket for this user on this display, in privateFolder(); empty when there is
    // no such folder, and the guard then stands aside (every copy runs).
    static QString name();
    // The folder for the socket: `xdgRuntimeDir` when it is a folder (not a link) of the
    // effective user with mode 0700; otherwise "plimb-<uid>" in `tempDir`, made with mode 0700
    // when missing and used when it is a folder (not a link) of that user, its mode then set to
    // 0700. Empty when neither will do.
    static QString privateFolder(const QString& xdgRuntimeDir, const QString& tempDir);

    // True when another copy of this user is running; it has then been asked to raise its window
    // and, when `link` is not empty, been given the link. A link the request cannot carry whole
    // (longer than an invitation link may be, or with line ends inside) is sent so that the
    // other copy refuses it.
    bool otherInstanceRunning(const QString& link = {});
    // Starts answering later copies: `request` runs for each one of this user that asks, with the
    // link it handed over as it came (not checked), or an empty text when it only asks for the
    // window. A copy that does not finish its request within a short time, or sends more than a
    // request can hold, is dropped unheard.
    void serve(std::function<void(const QString& link)> request);
    // Stops answering, so that a copy started from now on runs (a relaunch with another command
    // line). This copy must be on its way out: a later copy no longer raises it.
    void release();

private:
    void answer(QLocalSocket* peer);

    uid_t user_;
    QLocalServer server_;
    std::function<void(const QString&)> request_;
};

} // namespace plimb
