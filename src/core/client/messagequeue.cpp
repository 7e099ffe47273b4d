#include "core/client/messagequeue.h"

#include <algorithm>

namespace plimb {

bool MessageQueue::offer(const std::string& text) {
    if (!open_) {
        open_ = text;
        return true;
    }
    if (*open_ == text || waiting_.size() >= kMaxWaiting ||
        std::find(waiting_.begin(), waiting_.end(), text) != waiting_.end())
        return false;
    waiting_.push_back(text);
    return false;
}

std::optional<std::string> MessageQueue::dismissed() {
    open_.reset();
    if (waiting_.empty()) return std::nullopt;
    open_ = std::move(waiting_.front());
    waiting_.pop_front();
    return open_;
}

} // namespace plimb
