#include "ui/router/portmapper.h"

#include "ui/common/modules.h"
#include "ui/router/mapping.h"

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

// Shared by the mapper and its thread, which holds its own reference: the thread is never
// joined, so a router that keeps it talking cannot hold the window, and whatever it finishes
// after the mapper is gone lands here instead of in freed memory. Only the thread touches
// `mapping`, which it makes from plimb_router.so before its first job.
struct PortMapper::Worker {
    struct Task {
        Job job;
        unsigned long long seq;
        quint16 port;
    };

    std::unique_ptr<router::Mapping> mapping;
    QString unloadable; // why plimb_router.so could not be had
    std::mutex lock;
    std::condition_variable wake, done;
    std::deque<Task> queue;
    PortMapper* owner = nullptr; // null once the mapper is gone
    bool started = false;
    bool closing = false;
    bool finished = false; // the thread removed what it mapped and ended
    std::atomic<bool> holding{false};
    // Set by unmap() and the destructor for the job that is running when they come.
    std::atomic<bool> abortRunning{false};

    void load() {
        const ModuleEntry entry = moduleEntry(router::kModule, router::kEntry);
        if (entry.address != nullptr)
            mapping.reset(reinterpret_cast<router::EntryFunction>(entry.address)(router::Limits{}));
        else
            unloadable = entry.error;
    }

    router::Outcome unreachable(const Task& t) const {
        router::Outcome o;
        o.reason = (t.job == Job::Probe
                        ? std::string("The router could not be asked for its outside address")
                        : "The router could not be asked to open TCP port " + std::to_string(t.port)) +
                   ", as Plimb's network module is not usable (" + unloadable.toStdString() + ")";
        return o;
    }

    static void run(const std::shared_ptr<Worker>& self) {
        Worker& w = *self;
        w.load();
        const auto stop = [&w] { return w.abortRunning.load(); };
        for (;;) {
            Task t{};
            {
                std::unique_lock<std::mutex> l(w.lock);
                w.wake.wait(l, [&w] { return w.closing || !w.queue.empty(); });
                if (w.closing) break;
                t = w.queue.front();
                w.queue.pop_front();
                w.abortRunning = false; // every job queued before an abort was dropped with it
            }
            Result r{t.job, t.seq, w.mapping ? router::Outcome{} : w.unreachable(t)};
            if (w.mapping) {
                switch (t.job) {
                case Job::Map:
                    r.outcome = w.mapping->open(t.port, stop);
                    break;
                case Job::Renew:
                    r.outcome = w.mapping->renew(stop);
                    break;
                case Job::Probe:
                    r.outcome = w.mapping->externalAddress(stop);
                    break;
                case Job::Unmap:
                    w.mapping->close();
                    break;
                }
                w.holding = w.mapping->holdsMapping();
            }
            if (r.outcome.abandoned) continue;
            std::lock_guard<std::mutex> l(w.lock);
            // Posted to the owner's thread; what is still queued when the owner goes goes with it.
            if (PortMapper* owner = w.owner)
                QMetaObject::invokeMethod(
                    owner, [owner, r] { owner->deliver(r); }, Qt::QueuedConnection);
        }
        if (w.mapping) w.mapping->close();
        std::lock_guard<std::mutex> l(w.lock);
        w.finished = true;
        w.done.notify_all();
    }
};

PortMapper::PortMapper(QObject* parent) : QObject(parent), worker_(std::make_shared<Worker>()) {
    worker_->owner = this;
    renewal_.setSingleShot(true);
    connect(&renewal_, &QTimer::timeout, this, [this] { post(Job::Renew); });
}

PortMapper::~PortMapper() {
    Worker& w = *worker_;
    std::unique_lock<std::mutex> l(w.lock);
    w.owner = nullptr;
    w.closing = true;
    w.queue.clear();
    w.abortRunning = true;
    w.wake.notify_one();
    // The removal of a mapping is bounded and worth a moment, or the router forwards the port
    // to a program that is gone; a thread that takes longer is left to finish by itself.
    if (w.started && w.holding)
        w.done.wait_for(l, router::Limits{}.removal + std::chrono::seconds(1), [&w] { return w.finished; });
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
    std::lock_guard<std::mutex> l(w.lock);
    if (job == Job::Unmap) {
        std::erase_if(w.queue, [](const Worker::Task& t) { return t.job != Job::Unmap; });
        w.abortRunning = true;
        staleBelow_ = seq;
    }
    w.queue.push_back({job, seq, port_});
    if (!w.started) {
        std::thread([self = worker_] { Worker::run(self); }).detach();
        w.started = true;
    }
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
