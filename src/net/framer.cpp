#include "net/framer.h"

#include "net/protocol.h"

namespace plimb {

bool Framer::feed(std::string_view bytes, std::vector<std::string>& out) {
    std::size_t start = 0;
    for (;;) {
        const auto end = bytes.find(kTerminator, start);
        if (end == std::string_view::npos) break;
        if (tail_.empty()) {
            out.emplace_back(bytes.substr(start, end - start));
        } else {
            tail_.append(bytes.substr(start, end - start));
            out.push_back(std::move(tail_));
            tail_.clear();
        }
        start = end + 1;
    }
    tail_.append(bytes.substr(start));
    if (tail_.size() > cap_) {
        tail_.clear();
        tail_.shrink_to_fit();
        return false;
    }
    return true;
}

std::string frame(std::string_view text) {
    std::string out(text);
    out += kTerminator;
    return out;
}

} // namespace plimb
