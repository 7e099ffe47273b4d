#include "ui/lan/avahipoll.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/time.h>

#include <algorithm>
#include <climits>

// Avahi may free a watch or a timeout from inside its own callback; the object then lives until
// the callback has returned. The Qt objects are disconnected at once, so an event that Qt had
// already queued for them reaches no callback, and are deleted from the event loop.
struct AvahiWatch {
    plimb::AvahiQtPoll* owner;
    int fd;
    AvahiWatchCallback callback;
    void* userdata;
    QSocketNotifier* readable;
    QSocketNotifier* writable;
    int happened = 0;
    bool dispatching = false;
    bool freed = false;
};

struct AvahiTimeout {
    plimb::AvahiQtPoll* owner;
    AvahiTimeoutCallback callback;
    void* userdata;
    QTimer* timer;
    bool dispatching = false;
    bool freed = false;
};

namespace plimb {
namespace {

void setEvents(AvahiWatch* watch, AvahiWatchEvent events) {
    // Qt reports a hang-up or an error as readable, which is how the D-Bus code learns of it.
    watch->readable->setEnabled((events & AVAHI_WATCH_IN) != 0);
    watch->writable->setEnabled((events & AVAHI_WATCH_OUT) != 0);
}

void dispatchWatch(AvahiWatch* watch, AvahiWatchEvent event) {
    watch->happened = event;
    watch->dispatching = true;
    watch->callback(watch, watch->fd, event, watch->userdata);
    watch->dispatching = false;
    watch->happened = 0;
    if (watch->freed) delete watch;
}

void retire(QObject* object) {
    QObject::disconnect(object, nullptr, nullptr, nullptr);
    object->deleteLater();
}

// Avahi gives absolute wall-clock times (gettimeofday), as its own main loops use them.
int millisecondsUntil(const struct timeval& when) {
    struct timeval now {};
    gettimeofday(&now, nullptr);
    const long long micros =
        (static_cast<long long>(when.tv_sec) - now.tv_sec) * 1000000LL + (when.tv_usec - now.tv_usec);
    if (micros <= 0) return 0;
    return static_cast<int>(std::min<long long>((micros + 999) / 1000, INT_MAX));
}

void arm(AvahiTimeout* timeout, const struct timeval* when) {
    if (when == nullptr)
        timeout->timer->stop();
    else
        timeout->timer->start(millisecondsUntil(*when));
}

void dispatchTimeout(AvahiTimeout* timeout) {
    timeout->dispatching = true;
    timeout->callback(timeout, timeout->userdata);
    timeout->dispatching = false;
    if (timeout->freed) delete timeout;
}

} // namespace

AvahiQtPoll::AvahiQtPoll() {
    api_.userdata = this;
    api_.watch_new = &AvahiQtPoll::watchNew;
    api_.watch_update = [](AvahiWatch* watch, AvahiWatchEvent events) { setEvents(watch, events); };
    api_.watch_get_events = [](AvahiWatch* watch) { return static_cast<AvahiWatchEvent>(watch->happened); };
    api_.watch_free = &AvahiQtPoll::watchFree;
    api_.timeout_new = &AvahiQtPoll::timeoutNew;
    api_.timeout_update = [](AvahiTimeout* timeout, const struct timeval* when) { arm(timeout, when); };
    api_.timeout_free = &AvahiQtPoll::timeoutFree;
}

AvahiQtPoll::~AvahiQtPoll() {
    while (!watches_.empty())
        watchFree(*watches_.begin());
    while (!timeouts_.empty())
        timeoutFree(*timeouts_.begin());
}

int AvahiQtPoll::armedTimeouts() const {
    return static_cast<int>(std::count_if(timeouts_.begin(), timeouts_.end(),
                                          [](const AvahiTimeout* t) { return t->timer->isActive(); }));
}

AvahiWatch* AvahiQtPoll::watchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                                  AvahiWatchCallback callback, void* userdata) {
    auto* self = static_cast<AvahiQtPoll*>(api->userdata);
    auto* watch = new AvahiWatch{self,
                                 fd,
                                 callback,
                                 userdata,
                                 new QSocketNotifier(fd, QSocketNotifier::Read),
                                 new QSocketNotifier(fd, QSocketNotifier::Write)};
    QObject::connect(watch->readable, &QSocketNotifier::activated,
                     [watch] { dispatchWatch(watch, AVAHI_WATCH_IN); });
    QObject::connect(watch->writable, &QSocketNotifier::activated,
                     [watch] { dispatchWatch(watch, AVAHI_WATCH_OUT); });
    setEvents(watch, events);
    self->watches_.insert(watch);
    return watch;
}

void AvahiQtPoll::watchFree(AvahiWatch* watch) {
    watch->owner->watches_.erase(watch);
    watch->readable->setEnabled(false);
    watch->writable->setEnabled(false);
    retire(watch->readable);
    retire(watch->writable);
    if (watch->dispatching)
        watch->freed = true;
    else
        delete watch;
}

AvahiTimeout* AvahiQtPoll::timeoutNew(const AvahiPoll* api, const struct timeval* when,
                                      AvahiTimeoutCallback callback, void* userdata) {
    auto* self = static_cast<AvahiQtPoll*>(api->userdata);
    auto* timeout = new AvahiTimeout{self, callback, userdata, new QTimer};
    timeout->timer->setSingleShot(true);
    QObject::connect(timeout->timer, &QTimer::timeout, [timeout] { dispatchTimeout(timeout); });
    self->timeouts_.insert(timeout);
    arm(timeout, when);
    return timeout;
}

void AvahiQtPoll::timeoutFree(AvahiTimeout* timeout) {
    timeout->owner->timeouts_.erase(timeout);
    timeout->timer->stop();
    retire(timeout->timer);
    if (timeout->dispatching)
        timeout->freed = true;
    else
        delete timeout;
}

} // namespace plimb
