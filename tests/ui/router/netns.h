#pragma once
// A network namespace of the test's own, for the router tests (they need root).
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace plimb::test {

// The calling thread, and every thread and process it starts meanwhile, sits in a fresh network
// namespace that has only loopback, until this goes.
class OwnNetwork {
public:
    OwnNetwork() : home_(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
        ok_ = home_ >= 0 && unshare(CLONE_NEWNET) == 0 && sh("ip link set lo up");
    }
    ~OwnNetwork() {
        if (home_ >= 0 && setns(home_, CLONE_NEWNET) == 0) close(home_);
    }
    bool ok() const { return ok_; }
    // Runs a shell command line here, in whatever namespace the calling thread is in.
    static bool sh(const std::string& script) { return std::system(script.c_str()) == 0; }

private:
    int home_;
    bool ok_ = false;
};

} // namespace plimb::test
