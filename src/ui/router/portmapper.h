#pragma once
// Opens the game's port on the home router without blocking the window: the router's answers
// are awaited on a worker thread and come back as signals on the thread that made the mapper.
#include "core/net/protocol.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace plimb {

class PortMapper : public QObject {
    Q_OBJECT
public:
    explicit PortMapper(QObject* parent = nullptr);
    // Abandons what is under way and leaves the worker thread to remove a mapping it made,
    // waiting for that removal alone, three seconds at the very most.
    ~PortMapper() override;

    // Asks the router to forward outside TCP `port` here; ends in mapped() or failed(), within
    // about six seconds. A NAT-PMP mapping is renewed in time for as long as it is held; a
    // renewal reports only a changed outside address or a lost mapping.
    void start(quint16 port = kGamePort);
    // Only the router's outside address, for the Host dialog: externalAddressFound() or
    // externalAddressUnknown(). Maps nothing.
    void probeExternalAddress();
    // Removes the mapping and ends in unmapped(); a start() or probe still under way is
    // abandoned without a signal. Harmless twice and with nothing mapped.
    void unmap();

signals:
    // `how` is "UPnP" or "NAT-PMP".
    void mapped(const QString& externalAddress, const QString& how);
    // A readable clause without the final full stop; notMappedChatText() makes the chat line.
    void failed(const QString& reason);
    void externalAddressFound(const QString& externalAddress, const QString& how);
    void externalAddressUnknown(const QString& reason);
    void unmapped();

private:
    struct Worker;
    enum class Job { Map, Renew, Probe, Unmap };
    struct Result;

    void post(Job job);
    void deliver(const Result& r);

    std::shared_ptr<Worker> worker_;
    QTimer renewal_;
    // Results of jobs posted before the last unmap() are stale.
    unsigned long long posted_ = 0, staleBelow_ = 0;
    quint16 port_ = kGamePort;
    QString reportedAddress_;
};

// "Players outside your network join at 203.0.113.5 (the router forwards TCP port 7772 to this
// computer)."
QString mappedChatText(const QString& externalAddress, quint16 port = kGamePort);
// The reason of failed(), then what the host can do about it.
QString notMappedChatText(const QString& reason);

} // namespace plimb
