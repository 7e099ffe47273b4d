#pragma once
// The Avahi client library on Qt's event loop. Avahi asks its main loop for two things: to be
// told when a file descriptor (its D-Bus connection) can be read or written, and to be called
// back at a point in time. Here the first are QSocketNotifiers and the second single-shot
// QTimers that run only while Avahi has asked for one, so a window that waits for nothing on the
// network wakes up for nothing.
#include <avahi-common/watch.h>

#include <set>

namespace plimb {

class AvahiQtPoll {
public:
    AvahiQtPoll();
    // Every Avahi object made on this poll must be freed first (freeing the client frees them).
    ~AvahiQtPoll();
    AvahiQtPoll(const AvahiQtPoll&) = delete;
    AvahiQtPoll& operator=(const AvahiQtPoll&) = delete;

    // What avahi_client_new takes.
    const AvahiPoll* api() const { return &api_; }

    // How many timeouts are counting down now: none once Avahi has nothing left to do.
    int armedTimeouts() const;
    int watches() const { return static_cast<int>(watches_.size()); }

private:
    static AvahiWatch* watchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                                AvahiWatchCallback callback, void* userdata);
    static void watchFree(AvahiWatch* watch);
    static AvahiTimeout* timeoutNew(const AvahiPoll* api, const struct timeval* tv,
                                    AvahiTimeoutCallback callback, void* userdata);
    static void timeoutFree(AvahiTimeout* timeout);

    AvahiPoll api_{};
    std::set<AvahiWatch*> watches_;
    std::set<AvahiTimeout*> timeouts_;
};

} // namespace plimb
