#include "core/lan/lanslots.h"

#include <algorithm>

namespace plimb {

LanSlots::LanSlots(Limits limits) : limits_(limits) {}

bool LanSlots::seen(const std::string& key) {
    if (entries_.count(key) != 0) return true;
    if (queue_.size() >= limits_.waiting) return false;
    entries_.emplace(key, Entry{State::Waiting, {}});
    queue_.push_back(key);
    return true;
}

std::vector<std::string> LanSlots::startResolving(Clock::time_point now, std::size_t most) {
    std::vector<std::string> started;
    while (!queue_.empty() && started.size() < most && resolving_ < limits_.resolving &&
           listed_ + resolving_ < limits_.listed) {
        Entry& entry = entries_.at(queue_.front());
        entry = {State::Resolving, now};
        ++resolving_;
        started.push_back(std::move(queue_.front()));
        queue_.pop_front();
    }
    return started;
}

void LanSlots::resolved(const std::string& key, bool listable) {
    const auto found = entries_.find(key);
    if (found == entries_.end() || found->second.state != State::Resolving) return;
    if (!listable) return forget(key);
    found->second.state = State::Listed;
    --resolving_;
    ++listed_;
}

void LanSlots::forget(const std::string& key) {
    const auto found = entries_.find(key);
    if (found == entries_.end()) return;
    switch (found->second.state) {
    case State::Waiting:
        queue_.erase(std::find(queue_.begin(), queue_.end(), key));
        break;
    case State::Resolving:
        --resolving_;
        break;
    case State::Listed:
        --listed_;
        break;
    case State::Unknown:
        break;
    }
    entries_.erase(found);
}

std::vector<std::string> LanSlots::expire(Clock::time_point now) {
    std::vector<std::string> late;
    for (const auto& [key, entry] : entries_)
        if (entry.state == State::Resolving && now - entry.started >= limits_.resolveLimit)
            late.push_back(key);
    for (const std::string& key : late)
        forget(key);
    return late;
}

std::optional<LanSlots::Clock::time_point> LanSlots::nextExpiry() const {
    std::optional<Clock::time_point> next;
    for (const auto& [key, entry] : entries_)
        if (entry.state == State::Resolving && (!next || entry.started < *next)) next = entry.started;
    if (!next) return std::nullopt;
    return *next + limits_.resolveLimit;
}

LanSlots::State LanSlots::state(const std::string& key) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? State::Unknown : found->second.state;
}

} // namespace plimb
