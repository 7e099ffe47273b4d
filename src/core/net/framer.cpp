#include "core/net/framer.h"

#include "core/net/protocol.h"

namespace plimb {

bool Framer::feed(std::string_view bytes, std::vector<std::string>& out) {
    std::size_t start = 0;
    for (;;) {
        const auto end = bytes.find(kTerminator, start);
        const auto piece = bytes.substr(start, end == std::string_view::npos ? end : end - start);
        if (tail_.size() + piece.size() > cap_) {
            tail_.clear();
            tail_.shrink_to_fit();
            return false;
        }
        if (end == std::string_view::npos) {
            tail_.append(piece);
            return true;
        }
        if (tail_.empty()) {
            if (!piece.empty()) out.emplace_back(piece);
        } else {
            tail_.append(piece);
            out.push_back(std::move(tail_));
            tail_.clear();
        }
        start = end + 1;
    }
}

std::string frame(std::string_view text) {
    std::string out(text);
    out += kTerminator;
    return out;
}

} // namespace plimb
