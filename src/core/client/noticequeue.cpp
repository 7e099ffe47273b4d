#include "core/client/noticequeue.h"

#include <utility>

namespace plimb {

void NoticeQueue::push(std::string message) {
    bytes_ += message.size();
    list_.push_back(std::move(message));
}

std::optional<std::string> NoticeQueue::take() {
    if (list_.empty()) return std::nullopt;
    std::string front = std::move(list_.front());
    list_.pop_front();
    bytes_ -= front.size();
    return front;
}

void NoticeQueue::clear() {
    list_.clear();
    bytes_ = 0;
}

} // namespace plimb
