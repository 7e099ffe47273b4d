#include "router/portmapper.h"

#include "router/portmapping.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace plimb {

struct PortMapper::Result {
    Job job;
    unsigned long long seq;
    router::Outcome outcome;
};

// Owns the router conversation; only its thread touches `mapping` until the thread is joined.
struct PortMapper::Worker {
    struct Task {
        Job job;
        unsigned long long seq;
        quint16 port;
    };

    router::PortMapping mapping;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Task> queue;
    bool closing = false;
    // Set by unmap() and the destructor for the job that is running when they come.
    std::atomic<bool> abortRunning{false};
    std::thread thread;

    void run(PortMapper* owner) {
        const auto stop = [this] { return abortRunning.load(); };
        for (;;) {
            Task t{};
            {
                std::unique_lock<std::mutex> l(lock);
                wake.wait(l, [this] { return closing || !queue.empty(); });
                if (closing) return;
                t = queue.front();
                queue.pop_front();
                abortRunning = false; // every job queued before an abort was dropped with it
            }
            Result r{t.job, t.seq, {}};
            switch (t.job) {
            case Job::Map:
                r.outcome = mapping.open(t.port, stop);
                break;
            case Job::Renew:
                r.outcome = mapping.renew(stop);
                break;
            case Job::Probe:
                r.outcome = mapping.externalAddress(stop);
                break;
            case Job::Unmap:
                mapping.close();
                break;
            }
            if (r.outcome.abandoned) continue;
            // Queued to the owner's thread; the destructor joins before the owner is gone, and
            // what is still queued then goes with the owner.
            QMetaObject::invokeMethod(
                owner, [owner, r] { owner->deliver(r); }, Qt::QueuedConnection);
        }
    }
};

PortMapper::PortMapper(QObject* parent) : QObject(parent), worker_(std::make_unique<Worker>()) {
    renewal_.setSingleShot(true);
    connect(&renewal_, &QTimer::timeout, this, [this] { post(Job::Renew); });
}

PortMapper::~PortMapper() {
    {
        std::lock_guard<std::mutex> l(worker_->lock);
        worker_->closing = true;
        worker_->queue.clear();
        worker_->abortRunning = true;
    }
    worker_->wake.notify_one();
    if (worker_->thread.joinable()) worker_->thread.join();
    worker_->mapping.close();
}

void PortMapper::start(quint16 port) {
    port_ = port;
    renewal_.stop();
    post(Job::Map);
}

void PortMapper::probeExternalAddress() {
    post(Job::Probe);
}

void PortMapper::unmap() {
    renewal_.stop();
    reportedAddress_.clear();
    post(Job::Unmap);
}

void PortMapper::post(Job job) {
    Worker& w = *worker_;
    const unsigned long long seq = ++posted_;
    {
        std::lock_guard<std::mutex> l(w.lock);
        if (job == Job::Unmap) {
            std::erase_if(w.queue, [](const Worker::Task& t) { return t.job != Job::Unmap; });
            w.abortRunning = true;
            staleBelow_ = seq;
        }
        w.queue.push_back({job, seq, port_});
    }
    if (!w.thread.joinable()) w.thread = std::thread([this] { worker_->run(this); });
    w.wake.notify_one();
}

void PortMapper::deliver(const Result& r) {
    // An unmap() is never stale: each one ends in its own unmapped().
    if (r.job != Job::Unmap && r.seq < staleBelow_) return;
    const router::Outcome& o = r.outcome;
    const QString address = QString::fromStdString(o.externalAddress);
    const QString how = QString::fromLatin1(router::methodName(o.method));
    const QString reason = QString::fromStdString(o.reason);
    switch (r.job) {
    case Job::Map:
    case Job::Renew:
        if (!o.ok) {
            reportedAddress_.clear();
            emit failed(reason);
            return;
        }
        // Asked again at half the lease, as NAT-PMP recommends, and not more often than twice
        // a minute whatever the router grants.
        if (o.leaseSeconds > 0)
            renewal_.start(std::chrono::seconds(std::max<std::uint32_t>(o.leaseSeconds / 2, 30)));
        if (r.job == Job::Map || address != reportedAddress_) {
            reportedAddress_ = address;
            emit mapped(address, how);
        }
        return;
    case Job::Probe:
        if (o.ok)
            emit externalAddressFound(address, how);
        else
            emit externalAddressUnknown(reason);
        return;
    case Job::Unmap:
        emit unmapped();
        return;
    }
}

QString mappedChatText(const QString& externalAddress, quint16 port) {
    return QStringLiteral("Players outside your network join at %1 (the router forwards TCP port %2 "
                          "to this computer).")
        .arg(externalAddress)
        .arg(port);
}

QString notMappedChatText(const QString& reason) {
    return reason + QStringLiteral(": players outside your network can join only if you forward "
                                   "that port to this computer on your router by hand.");
}

} // namespace plimb
